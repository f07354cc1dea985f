#include "gui/GuiApp.h"

#include "core/app/ProfileSession.h"

namespace kw {

GuiApp::GuiApp(App& app, QtPort& port, std::vector<std::string> arguments) : app_(app), port_(port) {
  app_.argumentCount = static_cast<int>(arguments.size());
  main_ = std::make_unique<MainWindow>(app_, port_, std::move(arguments));
  port_.setWindow(WindowId::Main, main_.get());
  plot_ = std::make_unique<ShellWindow>("Plot", "Plot ");
  port_.setWindow(WindowId::Plot, plot_.get());
  setup_ = std::make_unique<SetupWindow>(app_, port_);
  port_.setWindow(WindowId::Setup, setup_.get());
  createSetupWindow(app_);
  setup_->refreshAll();
  setup_->resize(setup_->designSize());
  main_->syncFromCore();

  comm_ = std::make_unique<ShellWindow>("Comm", "Comm");
  port_.setWindow(WindowId::Comm, comm_.get());
  drawing_ = std::make_unique<ShellWindow>("Drawing", "Drawing");
  port_.setWindow(WindowId::Drawing, drawing_.get());
  decimalAscii_ = std::make_unique<ShellWindow>("DecimalAscii", "Decimal Ascii Editor + Line insertion");
  port_.setWindow(WindowId::DecimalAscii, decimalAscii_.get());
  offset_ = std::make_unique<ShellWindow>("Offset", "Offsetting");
  port_.setWindow(WindowId::Offset, offset_.get());
  array_ = std::make_unique<ShellWindow>("Array", "Array");
  port_.setWindow(WindowId::Array, array_.get());

  QObject::connect(main_.get(), &MainWindow::showSetupRequested, setup_.get(), [this] {
    setup_->refreshAll();
    setup_->showMaximized();
    setup_->raise();
  });
  QObject::connect(setup_.get(), &SetupWindow::fontChosen, main_.get(),
                   [this](const QFont& font) { main_->editor()->setFont(font); });
}

std::vector<QWidget*> GuiApp::windowsInOrder() const {
  return {main_.get(), plot_.get(), setup_.get(), comm_.get(), drawing_.get(), decimalAscii_.get(), offset_.get(),
          array_.get()};
}

}  // namespace kw
