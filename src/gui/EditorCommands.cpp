#include "gui/EditorCommands.h"

#include <QAction>
#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTime>

#include "core/app/EditorSearch.h"
#include "core/app/ReadOut.h"
#include "core/app/TextPrint.h"
#include "gui/QtPort.h"
#include "gui/SearchDialog.h"

namespace kw {

namespace {

QAction* addItem(QMenu* menu, const char* objectName, const QString& caption, const QKeySequence& key,
                 const QString& hint = {}) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(objectName);
  if (!key.isEmpty()) action->setShortcut(key);
  if (!hint.isEmpty()) action->setToolTip(hint);
  return action;
}

}  // namespace

EditorCommands::EditorCommands(QMainWindow* window, ProgramEditor* editor, App& app, QtPort& port)
    : QObject(window), window_(window), editor_(editor), app_(app), port_(port) {
  panel_ = new QLabel(kReadOutInitialText, window);
  panel_->setObjectName("Panel2");
  editor_->installEventFilter(this);
  editor_->viewport()->installEventFilter(this);
  find_ = new SearchDialog(window, false);
  replace_ = new SearchDialog(window, true);
  connect(find_, &SearchDialog::findNext, this, [this] { findNextFrom(find_); });
  connect(replace_, &SearchDialog::findNext, this, [this] { findNextFrom(replace_); });
  connect(replace_, &SearchDialog::replace, this, [this] { replaceFrom(replace_, false); });
  connect(replace_, &SearchDialog::replaceAll, this, [this] { replaceFrom(replace_, true); });
}

void EditorCommands::addMenus(QMenu* edit, QMenu* search) {
  QAction* undo = addItem(edit, "Undo1", "&Undo", QKeySequence("Ctrl+U"), "Undo last text edit");
  connect(undo, &QAction::triggered, editor_, &ProgramEditor::undo);
  QAction* selectAll = addItem(edit, "SelectAll1", "Select All", QKeySequence());
  connect(selectAll, &QAction::triggered, this, [this] {
    editor_->selectAll();
    ShowLineNum2();
  });
  QAction* cut = addItem(edit, "Cut1", "Cu&t", QKeySequence("Ctrl+X"), "Cut");
  connect(cut, &QAction::triggered, editor_, &ProgramEditor::cut);
  QAction* copy = addItem(edit, "Copy1", "&Copy", QKeySequence("Ctrl+C"), "Copy");
  connect(copy, &QAction::triggered, editor_, &ProgramEditor::copy);
  QAction* paste = addItem(edit, "Paste1", "&Paste", QKeySequence("Ctrl+V"), "Paste");
  connect(paste, &QAction::triggered, editor_, &ProgramEditor::paste);
  QAction* remove = addItem(edit, "Delete1", "&Delete", QKeySequence("Ctrl+Del"), "Delete");
  connect(remove, &QAction::triggered, this, [this] { editor_->removeSelectedText(); });

  QAction* find = addItem(search, "Find1", "&Find ...", QKeySequence("Ctrl+F"), "Find");
  connect(find, &QAction::triggered, this, [this] {
    editor_->setFocus();
    findNextAction_->setEnabled(true);
    find_->show();
    find_->raise();
  });
  findNextAction_ = addItem(search, "FindNext1", "Find &Next", QKeySequence(Qt::Key_F3));
  findNextAction_->setEnabled(false);
  connect(findNextAction_, &QAction::triggered, this, [this] { findNextFrom(find_); });
  QAction* replace = addItem(search, "Replace1", "&Replace ...", QKeySequence("Ctrl+R"));
  connect(replace, &QAction::triggered, this, [this] {
    editor_->setFocus();
    replace_->show();
    replace_->raise();
  });

  // The pop-up menu of the editor runs the same commands.
  for (QAction* a : {undo, cut, copy, paste, remove}) addToPopup(a);
  editor_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(editor_, &QWidget::customContextMenuRequested, this,
          [this](QPoint at) { popupMenu()->popup(editor_->mapToGlobal(at)); });
}

void EditorCommands::addToPopup(QAction* action, const QString& caption) {
  popupEntries_.emplace_back(action, caption.isEmpty() ? QString(action->text()).remove(u'&') : caption);
}

QMenu* EditorCommands::popupMenu() {
  if (!popup_) {
    popup_ = new QMenu(editor_);
    popup_->setObjectName("PopupMenu1");
  }
  popup_->clear();
  for (const auto& [action, caption] : popupEntries_) {
    QAction* entry = popup_->addAction(caption);
    entry->setEnabled(action->isEnabled());
    connect(entry, &QAction::triggered, action, &QAction::trigger);
  }
  return popup_;
}

bool EditorCommands::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
      // Runs after the editor has moved the caret.
      QMetaObject::invokeMethod(this, &EditorCommands::ShowLineNum2, Qt::QueuedConnection);
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

ReadOut editorReadOut(const QPlainTextEdit* editor) {
  const QTextCursor cursor = editor->textCursor();
  const int start = cursor.selectionStart();
  const int last = cursor.selectionEnd() - 1;
  const QTextDocument* doc = editor->document();
  const QTextBlock startBlock = doc->findBlock(start);
  ReadOut position;
  position.startLine = startBlock.blockNumber();
  position.column = start - startBlock.position();
  // The character before the text start lies on the line before the first one.
  position.endLine = last < 0 ? -1 : doc->findBlock(last).blockNumber();
  return position;
}

ReadOut editorReadOut(const ProgramEditor* editor) {
  const TextPos start = editor->selectionStart(), end = editor->selectionEnd();
  ReadOut position;
  position.startLine = start.line;
  position.column = start.column;
  // The last selected character; at a line's start that is the line break before it, and
  // before the text start it lies on the line before the first one.
  position.endLine = end.column > 0 ? end.line : end.line - 1;
  return position;
}

ReadOut EditorCommands::showReadOut() {
  const ReadOut position = editorReadOut(editor_);
  panel_->setText(QString::fromStdString(readOutText(position)));
  return position;
}

void EditorCommands::ShowLineNum2() {
  app_.highlighted = highlightedBlockOf(showReadOut());
  // The line-editing window belongs to the line it was opened on: it goes when the caret moves
  // (not when a key that opens it is let go).
  const std::pair<TextPos, TextPos> selection{editor_->anchor(), editor_->caret()};
  if (selection != lastSelection_) port_.hideWindow(WindowId::DecimalAscii);
  lastSelection_ = selection;
  emit readOutUpdated();
}

bool EditorCommands::search(const QString& find, bool down, bool matchCase, bool wholeWord) {
  const std::string text = editor_->text();
  const size_t start = editor_->offsetOf(editor_->selectionStart());
  const size_t length = editor_->offsetOf(editor_->selectionEnd()) - start;
  const std::string needle = toBytes(find);
  auto at = searchEditorText(text, start, length, needle, down, matchCase, wholeWord);
  if (!at) return false;
  const TextPos from = editor_->positionAt(*at), to = editor_->positionAt(*at + needle.size());
  editor_->setSelection(from, to);
  editor_->cut();
  editor_->paste();
  editor_->setSelection(from, to);
  return true;
}

void EditorCommands::findNextFrom(SearchDialog* dialog) {
  if (!search(dialog->findText(), dialog->down(), dialog->matchCase(), dialog->wholeWord()))
    port_.message(cannotFindMessage(toBytes(dialog->findText())));
  ShowLineNum2();
}

void EditorCommands::replaceFrom(SearchDialog* dialog, bool all) {
  const std::string find = toBytes(dialog->findText());
  const std::string replacement = toBytes(dialog->replaceText());
  if (all) {
    const size_t start = editor_->offsetOf(editor_->selectionStart());
    ReplaceResult result = replaceAll(editor_->text(), start, editor_->offsetOf(editor_->selectionEnd()) - start, find,
                                      replacement, dialog->down(), dialog->matchCase(), dialog->wholeWord());
    if (result.replacements > 0) {
      editor_->replaceLines(splitLines(result.text));
      editor_->setSelection(editor_->positionAt(result.selStart),
                            editor_->positionAt(result.selStart + result.selLength));
    }
    port_.message(replacedMessage(result.replacements));
  } else {
    if (!find.empty() && equalsIgnoringCase(editor_->selectedText(), find)) editor_->insertText(replacement);
    if (!search(dialog->findText(), dialog->down(), dialog->matchCase(), dialog->wholeWord()))
      port_.message(cannotFindMessage(find));
  }
  ShowLineNum2();
}

void EditorCommands::printText(QPrinter& printer) {
  QPainter painter(&printer);
  QFont font = editor_->font();
  painter.setFont(QFont(font, &printer));
  const QFontMetrics metrics = painter.fontMetrics();
  const int lineHeight = std::max(1, metrics.lineSpacing());
  const QRect page = painter.viewport();
  const int fit = std::max(1, page.height() / lineHeight);
  // A page ends after 50 program lines so that every page number names its page.
  const int perPage = std::min(fit, kTextPrintLinesPerNumber + kTextPrintHeaderLines);
  const QLocale locale = QLocale::system();
  const auto pages = layoutTextPages(app_.buffer.lines, perPage, app_.currentFileName,
                                     locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(),
                                     locale.toString(QTime::currentTime(), QLocale::ShortFormat).toStdString());
  for (size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) printer.newPage();
    int y = metrics.ascent();
    for (const auto& line : pages[p]) {
      painter.drawText(0, y, fromBytes(line));
      y += lineHeight;
    }
  }
}

}  // namespace kw
