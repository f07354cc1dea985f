#include "gui/DecimalAsciiWindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/app/ProfileSession.h"
#include "core/texttools/DecimalAscii.h"
#include "gui/QtPort.h"

namespace kw {

namespace {

// The control codes a line may need, with their usual names.
constexpr const char* kControlCodes[] = {"1 SOH Start of header",
                                         "2 STX Start of text",
                                         "3 ETX End of text",
                                         "4 EOT End of transmission",
                                         "5 ENQ Enquiry",
                                         "6 ACK Acknowledge",
                                         "7 BEL Bell",
                                         "8 BS Backspace",
                                         "9 HT Horizontal tab",
                                         "10 LF Line feed",
                                         "11 VT Vertical tab",
                                         "12 FF Form feed",
                                         "13 CR Carriage return",
                                         "14 SO Shift out",
                                         "15 SI Shift in",
                                         "16 DLE Data link escape",
                                         "17 DC1 Device control 1 (XON)",
                                         "18 DC2 Device control 2",
                                         "19 DC3 Device control 3 (XOFF)",
                                         "20 DC4 Device control 4",
                                         "21 NAK Negative acknowledge",
                                         "22 SYN Synchronous idle",
                                         "23 ETB End of transmission block",
                                         "24 CAN Cancel",
                                         "25 EM End of medium",
                                         "26 SUB Substitute",
                                         "27 ESC Escape",
                                         "28 FS File separator",
                                         "29 GS Group separator",
                                         "30 RS Record separator",
                                         "31 US Unit seperator"};

// The note: the names in a row, wrapped only between two of them.
QString controlCodeNote() {
  QStringList entries;
  for (const char* entry : kControlCodes) entries << QString(entry).replace(' ', QChar::Nbsp);
  return entries.join("   ");
}

struct Box {
  int number;  // EditN
  const char* hint;
};

constexpr const char* kPairHint = "Look for this text  Above and Below are both required";
constexpr const char* kBetweenHint = "Insert this between the above two";
constexpr const char* kBeforeHint = "Insert this before found line.";
constexpr const char* kAfterHint = "Insert this after found line.";

// The boxes row by row: search A with its before and after texts, then B, then the two pairs.
constexpr Box kBoxes[4][3] = {
    {{1, "Search for this"}, {2, kBeforeHint}, {3, kAfterHint}},
    {{0, "or and Search for this"}, {4, kBeforeHint}, {5, kAfterHint}},
    {{6, kPairHint}, {7, kPairHint}, {8, kBetweenHint}},
    {{9, kPairHint}, {10, kPairHint}, {11, kBetweenHint}},
};

}  // namespace

DecimalAsciiWindow::DecimalAsciiWindow(App& app) : app_(app) {
  setObjectName("DecimalAscii");
  setWindowTitle("Decimal Ascii Editor + Line insertion");
  auto* layout = new QVBoxLayout(this);

  grid_ = new QTableWidget(2, static_cast<int>(kDecimalAsciiColumns), this);
  grid_->setObjectName("StringGrid1");
  grid_->setToolTip("Edit existing text to non printing control characters.");
  grid_->setVerticalHeaderLabels({"Char", "Code"});
  grid_->horizontalHeader()->setDefaultSectionSize(36);
  grid_->setFixedHeight(grid_->horizontalHeader()->height() + 2 * grid_->verticalHeader()->defaultSectionSize() + 24);
  // A code typed into a cell counts when the cell takes it; Delete clears the chosen cells.
  grid_->installEventFilter(this);
  connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->row() == 1) StringGrid1KeyUp();
  });
  layout->addWidget(grid_);

  auto* note = new QLabel(controlCodeNote(), this);
  note->setObjectName("Memo1");
  note->setWordWrap(true);
  layout->addWidget(note);

  auto* boxes = new QGridLayout;
  const char* columnTitles[] = {"Search", "Before / upper", "After / lower / between"};
  for (int c = 0; c < 3; ++c) boxes->addWidget(new QLabel(columnTitles[c], this), 0, c + 1);
  const char* rowTitles[] = {"A", "or B", "Pair 1", "Pair 2"};
  for (int r = 0; r < 4; ++r) {
    boxes->addWidget(new QLabel(rowTitles[r], this), r + 1, 0);
    for (int c = 0; c < 3; ++c) {
      const Box& box = kBoxes[r][c];
      auto* edit = new QLineEdit(this);
      edit->setObjectName(QString("Edit%1").arg(box.number));
      edit->setToolTip(box.hint);
      // The texts count as typed: the conversion's own "Find and Insert" uses them too.
      connect(edit, &QLineEdit::textChanged, this, [this, n = box.number](const QString& text) {
        app_.lineInsertTexts[static_cast<std::size_t>(n)] = toBytes(text);
      });
      edits_[static_cast<std::size_t>(box.number)] = edit;
      boxes->addWidget(edit, r + 1, c + 1);
    }
  }
  layout->addLayout(boxes);

  button_ = new QPushButton("Find and Insert", this);
  button_->setObjectName("Button1");
  button_->setToolTip("Exicute insertion of text. Can be automatic on DXF load see setup Options ");
  connect(button_, &QPushButton::clicked, this, [this] {
    if (findAndInsert) findAndInsert();
  });
  layout->addWidget(button_);
}

void DecimalAsciiWindow::EditcurrentlineasDecimalAscii1Click() {
  show();
  raise();
  loadLine(currentLine ? currentLine() : std::string());
}

void DecimalAsciiWindow::loadLine(const std::string& line) {
  const QSignalBlocker quiet(grid_);
  grid_->clearContents();
  const std::vector<int> codes = characterCodes(line);
  for (std::size_t k = 0; k < codes.size(); ++k) {
    const int column = static_cast<int>(k);
    grid_->setItem(0, column, new QTableWidgetItem(fromBytes(line.substr(k, 1))));
    grid_->setItem(1, column, new QTableWidgetItem(QString::number(codes[k])));
  }
}

void DecimalAsciiWindow::StringGrid1KeyUp() {
  const QSignalBlocker quiet(grid_);
  std::vector<std::string> codes(kDecimalAsciiColumns);
  for (std::size_t k = 0; k < kDecimalAsciiColumns; ++k) {
    const QTableWidgetItem* item = grid_->item(1, static_cast<int>(k));
    if (item) codes[k] = toBytes(item->text());
    // Row 0 shows the character of a code that makes one.
    const std::string character = lineFromCodes({codes[k]});
    if (!character.empty()) grid_->setItem(0, static_cast<int>(k), new QTableWidgetItem(fromBytes(character)));
  }
  if (replaceLine) replaceLine(lineFromCodes(codes));
}

void DecimalAsciiWindow::FormActivate() {
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    const QString text = fromBytes(app_.lineInsertTexts[i]);
    if (edits_[i]->text() != text) edits_[i]->setText(text);
  }
}

void DecimalAsciiWindow::showEvent(QShowEvent* event) {
  FormActivate();
  QWidget::showEvent(event);
}

void DecimalAsciiWindow::closeEvent(QCloseEvent* event) {
  for (std::size_t i = 0; i < edits_.size(); ++i) app_.lineInsertTexts[i] = toBytes(edits_[i]->text());
  Savelastini(app_);
  QWidget::closeEvent(event);
}

bool DecimalAsciiWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
      const QSignalBlocker quiet(grid_);
      for (QTableWidgetItem* item : grid_->selectedItems())
        if (item->row() == 1) item->setText(QString());
    }
    StringGrid1KeyUp();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kw
