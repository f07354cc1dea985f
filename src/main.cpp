// kerfwerk: the desktop program, or the headless batch conversion and scripted commands.
#include <QApplication>
#include <QBuffer>
#include <QIcon>

#include "core/app/App.h"
#include "core/app/CommandLine.h"
#include "gui/GuiApp.h"
#include "gui/ImageCanvas.h"
#include "gui/QtPort.h"

namespace {

class PngImage : public kw::ImageOutput {
 public:
  PngImage(int width, int height) : canvas_(width, height) {}
  kw::PlotCanvas& canvas() override { return canvas_; }
  std::string pngBytes() override {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!canvas_.image().save(&buffer, "PNG")) return {};
    return bytes.toStdString();
  }

 private:
  kw::ImageCanvas canvas_;
};

}  // namespace

int main(int argc, char** argv) {
  kw::CommandLineHooks hooks;
  hooks.endProcessWhenDone = true;
  hooks.makeImage = [](int width, int height) { return std::make_unique<PngImage>(width, height); };
  hooks.openWindow = [&](const std::string& folder, const std::vector<std::string>& args) {
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName("Kerfwerk");
    QApplication::setDesktopFileName("kerfwerk");
    QApplication::setWindowIcon(QIcon(":/kerfwerk.png"));
    kw::QtPort port;
    kw::App app(folder, port);
    kw::GuiApp gui(app, port, args);
    gui.main()->show();
    return QApplication::exec();
  };
  return kw::runCommandLine({argv + 1, argv + argc}, hooks);
}
