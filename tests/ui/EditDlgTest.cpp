// The editor dialog on the offscreen platform: controls found by name, clicked and typed into;
// the model, the grid and the fields checked afterwards. Modal boxes go through the dialog
// provider's test mode, so nothing blocks.

#include <QCheckBox>
#include <QClipboard>
#include <QExposeEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "documents/StartFile.h"
#include "model/Model.h"
#include "tests/core/ModelBits.h"
#include "tests/ui/MainFormHarness.h"
#include "ui/common/DialogProvider.h"
#include "ui/editor/EditDlg.h"
#include "ui/editor/EditorGrid.h"

using namespace velmora;
using velmora::testing::ErrorTexts;

namespace {

const real Root3 = std::sqrt(3.0L);

void Place(Model& m, int slot, real x, real y, real z, real v = 0.0L, real u = 0.0L, real w = 0.0L,
           bool present = true) {
  m.X[slot] = x, m.Y[slot] = y, m.Z[slot] = z;
  m.V[slot] = v, m.U[slot] = u, m.W[slot] = w;
  m.Present[slot] = present;
}

}  // namespace

class EditDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void firstOpeningShowsTheModel();
  void controlsCarryTheirNamesTextsAndColours();
  void headerFollowsTheScopeAndVelocityModeIsKept();
  void selectingARowLoadsItsParticle();
  void typedValuesAreDiscardedByMovingAndStoredByYes();
  void uncheckingTheFlagEmptiesTheRow();
  void aFailingFieldStopsYesWhereItFails();
  void pastedTextIsRefusedAndTheModelKept_data();
  void pastedTextIsRefusedAndTheModelKept();
  void filteredFieldsRefuseLetters();
  void deleteEditsAndControlCharactersStayRefused();
  void enterInAFilteredFieldStillPressesOK();
  void enterPressesTheFocusedButton_data();
  void enterPressesTheFocusedButton();
  void opensCentredEveryTime();
  void okWithACancelledFileDialogClosesWithOK();
  void okSavesStoresAndAlignsTheCopies();
  void okWithAPointInACommaLocaleReportsAndCloses();
  void saveAsStaysOpenAndAnExposeKeepsWhatIsShown();
  void qtsOwnRepaintsKeepTypedText();
  void cancelAfterYesKeepsTheParticle();
  void distanceCalculators();
  void distanceCalculatorErrorsLeaveTheResult_data();
  void distanceCalculatorErrorsLeaveTheResult();
  void fourthPointGoesIntoTheParticleFields();
  void fourthPointFaultsChangeNoField();
  void resetButtons();

 private:
  void Open();
  void Recreate(char separator);
  template <class T = QLineEdit>
  T* Find(const char* name) const {
    T* control = dialog_->findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s", name);
    return control;
  }
  QString Text(const char* name) const { return Find(name)->text(); }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  void ClickCell(int row, int column);
  void DoubleClickCell(int row, int column);
  void Type(const char* name, const QString& text);
  QString Cell(int column, int row) const { return Find<EditorGrid>("DaonsTable")->Cell(column, row); }
  void Expose();

  QTemporaryDir dir_;
  Model model_;
  bool taoscope_ = false;
  std::unique_ptr<TEditDlg> dialog_;
};

void EditDlgTest::initTestCase() {
  QVERIFY(dir_.isValid());
  // The start file goes to the test's folder, not to the user's settings.
  qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
  DialogProvider::Instance().EnableTestMode();
}

void EditDlgTest::init() {
  model_ = Model{};
  model_.N = 100;
  model_.dt = 0.001L;
  for (int i = 0; i < ParameterCount; ++i) Parameter(model_, i) = 1.0L + i;
  model_.DocFileName = "/scenes/current.ato";
  // An equilateral triangle of side 1 in z = 0 (1, 2, 3), a particle at (3, 4, 0) moving (1, 2, 2)
  // (4), and slot 7 holding values without a particle.
  Place(model_, 1, 0.0L, 0.0L, 0.0L, 0.5L, 0.0L, 0.0L);
  Place(model_, 2, 1.0L, 0.0L, 0.0L);
  Place(model_, 3, 0.5L, Root3 / 2.0L, 0.0L);
  Place(model_, 4, 3.0L, 4.0L, 0.0L, 1.0L, 2.0L, 2.0L);
  Place(model_, 7, -1.5L, 2.25L, 1e-5L, 7.0L, 8.0L, 9.0L, false);
  taoscope_ = false;
  Recreate('.');
  DialogProvider::Instance().Reset();
}

void EditDlgTest::cleanup() { dialog_.reset(); }

void EditDlgTest::Recreate(char separator) {
  dialog_ = std::make_unique<TEditDlg>(
      model_, [this] { return taoscope_; }, separator);
}

void EditDlgTest::Open() {
  dialog_->show();
  QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
}

void EditDlgTest::ClickCell(int row, int column) {
  auto* grid = Find<EditorGrid>("DaonsTable");
  QTableWidgetItem* item = grid->item(row - 1, column - 1);
  grid->scrollToItem(item);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(item).center());
}

// A user's double click: press and release, then the second press arrives as a double click.
void EditDlgTest::DoubleClickCell(int row, int column) {
  ClickCell(row, column);
  auto* grid = Find<EditorGrid>("DaonsTable");
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                     grid->visualItemRect(grid->item(row - 1, column - 1)).center());
}

void EditDlgTest::Type(const char* name, const QString& text) {
  QLineEdit* field = Find(name);
  field->clear();
  field->setFocus();
  QTest::keyClicks(field, text);
}

// What the window system sends when the dialog is uncovered.
void EditDlgTest::Expose() {
  QExposeEvent expose(QRegion(dialog_->rect()));
  QCoreApplication::sendEvent(dialog_->windowHandle(), &expose);
}

void EditDlgTest::firstOpeningShowsTheModel() {
  Open();
  QCOMPARE(dialog_->windowTitle(), QStringLiteral(" Editing of gravon's or taon's values"));
  QCOMPARE(dialog_->size(), QSize(787, 447));
  QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
  QCOMPARE(Cell(0, 0), QStringLiteral("Gravons"));
  QCOMPARE(Cell(1, 0) + Cell(2, 0) + Cell(3, 0), QStringLiteral("XYZ"));
  for (int row = 1; row <= 100; ++row) QCOMPARE(Cell(0, row), QString::number(row));
  QCOMPARE(Cell(1, 3), QStringLiteral("0.5"));
  QCOMPARE(Cell(2, 3), QStringLiteral("0.866025403784439"));
  QCOMPARE(Cell(1, 4) + " " + Cell(2, 4) + " " + Cell(3, 4), QStringLiteral("3 4 0"));
  for (int column = 1; column <= 3; ++column) {
    QCOMPARE(Cell(column, 5), QString());
    QCOMPARE(Cell(column, 7), QString());
  }
  QCOMPARE(Find<QLabel>("NumberOfTaon")->text(), QStringLiteral("1"));
  QCOMPARE(Text("EditX") + Text("EditY") + Text("EditZ"), QStringLiteral("000"));
  QCOMPARE(Text("EditV"), QStringLiteral("0.5"));
  QVERIFY(Find<QCheckBox>("DaoTrue")->isChecked());
  QCOMPARE(Text("EditDT"), QStringLiteral("0.001"));
  QCOMPARE(Text("EditA1"), QStringLiteral("1"));
  QCOMPARE(Text("EditG1"), QStringLiteral("6"));
  QCOMPARE(Text("EditG3"), QStringLiteral("18"));
  QCOMPARE(Text("EditFileName"), QStringLiteral("/scenes/current.ato"));
}

void EditDlgTest::controlsCarryTheirNamesTextsAndColours() {
  // Before any opening the fields show their initial texts.
  const struct {
    const char* name;
    const char* text;
  } initial[] = {{"EditX", "0"},
                 {"EditW", "0"},
                 {"EditDT", "0,01"},
                 {"EditA1", "1"},
                 {"EditC2", "2"},
                 {"EditD3", "3"},
                 {"EditF1", "4"},
                 {"EditG2", "5"},
                 {"Edit1", "1   -:-  50"},
                 {"Edit2", "51 -:- 75"},
                 {"Edit8", "76 -:-100"},
                 {"EditFileName", "EditFileName"},
                 {"EditCal4Part2", "0"},
                 {"EditResultZ4", "0"},
                 {"ToCel", "0"},
                 {"Edit3", "Attention: G1E is parametr of exponentials part of function PESE"}};
  for (const auto& [name, text] : initial) QCOMPARE(Text(name), QString::fromLatin1(text));
  const struct {
    const char* name;
    const char* caption;
  } buttons[] = {{"Submit", "&Yes"},           {"Saveas", "Save As"},         {"OKBtn", "OK"},
                 {"CancelBtn", "Cancel"},      {"Calculate3", "Calculate 3"}, {"Reset2", "Reset 2"},
                 {"Calculate5", "Calculate5"}, {"Reset5", "Reset5"},          {"DataToCel", "To cells!"}};
  for (const auto& [name, caption] : buttons)
    QCOMPARE(Find<QPushButton>(name)->text(), QString::fromLatin1(caption));
  QVERIFY(Find<QPushButton>("OKBtn")->isDefault());
  QVERIFY(Find<QCheckBox>("Del")->isChecked());
  QVERIFY(!Find<QCheckBox>("DaoTrue")->isChecked());
  QCOMPARE(Find("EditB1")->palette().color(QPalette::Base), QColor(0, 255, 0));
  QCOMPARE(Find("EditB2")->palette().color(QPalette::Base), QColor(255, 255, 0));
  QCOMPARE(Find("EditB3")->palette().color(QPalette::Base), QColor(255, 0, 0));
  QCOMPARE(Find("Edit8")->palette().color(QPalette::Text), QColor(0, 0, 255));
  // The check box is painted on its aqua ground, not on the dialog's.
  QCOMPARE(QColor(Find<QCheckBox>("Del")->grab().toImage().pixel(0, 0)), QColor(0, 255, 255));
  QLabel* g1e = nullptr;
  for (QLabel* label : dialog_->findChildren<QLabel*>())
    if (label->text() == QStringLiteral("G1E")) g1e = label;
  QVERIFY(g1e);
  QVERIFY(g1e->font().bold());
  QCOMPARE(g1e->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  QLineEdit* note = Find("Edit3");  // large, and all of it in view
  QVERIFY(note->font().pixelSize() > dialog_->font().pixelSize());
  QVERIFY(QFontMetrics(note->font()).horizontalAdvance(note->text()) < note->width() - 8);
  // The headings stand just above their rows of fields.
  for (const auto& [heading, first] : {std::pair{"Coordinats", "EditX"}, std::pair{"VeloCity", "EditV"}}) {
    QLabel* label = nullptr;
    for (QLabel* candidate : dialog_->findChildren<QLabel*>())
      if (candidate->text() == QLatin1String(heading)) label = candidate;
    QVERIFY(label);
    const int gap = Find(first)->y() - label->geometry().bottom();
    QVERIFY2(gap > 0 && gap < 8 && label->x() <= Find(first)->x(), heading);
  }
}

void EditDlgTest::headerFollowsTheScopeAndVelocityModeIsKept() {
  taoscope_ = true;
  Open();
  QCOMPARE(Cell(0, 0), QStringLiteral("Taons"));
  DoubleClickCell(4, 1);
  QVERIFY(dialog_->EditorListVelocities());
  QCOMPARE(Cell(0, 0) + Cell(1, 0) + Cell(2, 0) + Cell(3, 0), QStringLiteral("Velou(x)u(y)u(z)"));
  QCOMPARE(Cell(1, 4) + " " + Cell(2, 4) + " " + Cell(3, 4), QStringLiteral("1 2 2"));
  // The double click selected row 4 first, as a click does.
  QCOMPARE(Find<QLabel>("NumberOfTaon")->text(), QStringLiteral("4"));

  Click("CancelBtn");
  QCOMPARE(dialog_->result(), int(QDialog::Rejected));
  Open();
  QCOMPARE(Cell(0, 0), QStringLiteral("Velo"));
  QCOMPARE(Cell(1, 4), QStringLiteral("1"));
  DoubleClickCell(4, 1);
  QCOMPARE(Cell(0, 0) + Cell(1, 0), QStringLiteral("TaonsX"));
  QCOMPARE(Cell(1, 4), QStringLiteral("3"));
}

void EditDlgTest::selectingARowLoadsItsParticle() {
  Open();
  DoubleClickCell(1, 1);
  QVERIFY(dialog_->EditorListVelocities());
  ClickCell(7, 2);
  // Position and velocity, whatever the grid shows, and the stored values of an empty slot.
  QCOMPARE(Find<QLabel>("NumberOfTaon")->text(), QStringLiteral("7"));
  QCOMPARE(Text("EditX") + " " + Text("EditY") + " " + Text("EditZ"), QStringLiteral("-1.5 2.25 1E-5"));
  QCOMPARE(Text("EditV") + " " + Text("EditU") + " " + Text("EditW"), QStringLiteral("7 8 9"));
  QVERIFY(!Find<QCheckBox>("DaoTrue")->isChecked());
  // The keyboard moves the selection as well.
  QTest::keyClick(Find<EditorGrid>("DaonsTable"), Qt::Key_Up);
  QCOMPARE(Find<QLabel>("NumberOfTaon")->text(), QStringLiteral("6"));
  // A long number shows its leading digits.
  ClickCell(3, 1);
  QCOMPARE(Text("EditY"), QStringLiteral("0.866025403784439"));
  QCOMPARE(Find("EditY")->cursorPosition(), 0);
}

void EditDlgTest::typedValuesAreDiscardedByMovingAndStoredByYes() {
  Open();
  ClickCell(2, 1);
  Type("EditX", "9");
  ClickCell(3, 1);
  ClickCell(2, 1);
  QCOMPARE(Text("EditX"), QStringLiteral("1"));
  QCOMPARE(model_.X[2], 1.0L);

  // A click on the cell already selected reloads it too.
  Type("EditX", "9");
  ClickCell(2, 1);
  QCOMPARE(Text("EditX"), QStringLiteral("1"));

  Type("EditX", "9");
  Type("EditW", "-2,5");  // the filter lets a comma through; a point locale cannot read it ...
  Click("Submit");
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("'-2,5' is not a valid floating point value.")});
  Type("EditW", "-2.5");
  Click("Submit");
  QCOMPARE(model_.X[2], 9.0L);
  QCOMPARE(model_.W[2], -2.5L);
  QCOMPARE(Cell(1, 2), QStringLiteral("9"));
  // The working and display copies follow at once.
  QCOMPARE(model_.NewX[2], 9.0L);
  QCOMPARE(model_.ShownX[2], 9.0L);
}

void EditDlgTest::uncheckingTheFlagEmptiesTheRow() {
  Open();
  ClickCell(4, 3);
  Find<QCheckBox>("DaoTrue")->setChecked(false);
  Click("Submit");
  QVERIFY(!model_.Present[4]);
  QCOMPARE(Cell(1, 4) + Cell(2, 4) + Cell(3, 4), QString());
  QCOMPARE(Text("EditX") + Text("EditY"), QStringLiteral("34"));
  Find<QCheckBox>("DaoTrue")->setChecked(true);
  Click("Submit");
  QCOMPARE(Cell(1, 4) + Cell(2, 4) + Cell(3, 4), QStringLiteral("340"));
}

void EditDlgTest::aFailingFieldStopsYesWhereItFails() {
  Open();
  ClickCell(4, 1);
  Find("EditX")->setText(QStringLiteral("10"));
  Find("EditY")->setText(QStringLiteral("11"));
  Find("EditZ")->setText(QStringLiteral("abc"));  // pasted: the filter only sees typing
  Find("EditV")->setText(QStringLiteral("12"));
  Find<QCheckBox>("DaoTrue")->setChecked(false);
  Click("Submit");
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("'abc' is not a valid floating point value.")});
  QCOMPARE(model_.X[4], 10.0L);
  QCOMPARE(model_.Y[4], 11.0L);
  QCOMPARE(model_.Z[4], 0.0L);
  QCOMPARE(model_.V[4], 1.0L);
  QVERIFY(model_.Present[4]);
  QCOMPARE(Cell(1, 4), QStringLiteral("3"));  // no refill
}

void EditDlgTest::pastedTextIsRefusedAndTheModelKept_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("pasted");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("kind");  // of value the message names
  const QString real = QStringLiteral("floating point"), integer = QStringLiteral("integer");
  QTest::newRow("very long") << "EditX" << QString(5000, QLatin1Char('9')) << "Submit" << real;
  QTest::newRow("Arabic-Indic digits") << "EditX" << QStringLiteral("\u0661\u0662") << "Submit" << real;
  QTest::newRow("tab") << "EditX" << QStringLiteral("1\t2") << "Submit" << real;
  QTest::newRow("several separators") << "EditX"
                                      << "1.2.3"
                                      << "Submit" << real;
  QTest::newRow("huge exponent") << "EditX"
                                 << "1E99999"
                                 << "Submit" << real;
  QTest::newRow("fullwidth point number")
      << "EditCal1Part1" << QStringLiteral("\uFF11") << "Calculate1" << integer;
  QTest::newRow("point number beyond 32 bits") << "EditCal2Part2"
                                               << "99999999999999999999"
                                               << "Calculate2" << integer;
  QTest::newRow("control character in a point")
      << "EditCal5Part3" << QStringLiteral("2\u0001") << "Calculate5" << integer;
  QTest::newRow("separators in a point number") << "EditCal4Part1"
                                                << "1,,2"
                                                << "Calculate4" << integer;
}

// Text pasted past the key filter into a particle field or a calculator's point number is
// refused with the program's message; the model and every result stay as they were.
void EditDlgTest::pastedTextIsRefusedAndTheModelKept() {
  QFETCH(QString, field);
  QFETCH(QString, pasted);
  QFETCH(QString, button);
  QFETCH(QString, kind);
  Open();
  ClickCell(4, 1);
  // Every other point number names a particle.
  for (const char* calculator : {"EditCal1", "EditCal2", "EditCal3", "EditCal4", "EditCal5"})
    for (int part = 1; part <= 3; ++part)
      if (auto* field = dialog_->findChild<QLineEdit*>(QStringLiteral("%1Part%2").arg(calculator).arg(part)))
        field->setText(QString::number(part));
  const Model before = model_;
  QLineEdit* target = Find(field.toLatin1().constData());
  target->setFocus();
  target->selectAll();
  QGuiApplication::clipboard()->setText(pasted);
  target->paste();
  const QString held = target->text();
  QVERIFY(!held.isEmpty());
  const QStringList results = {Text("EditResult1"), Text("EditResult4"), Text("EditResultX4"), Text("EditY")};
  Click(button.toLatin1().constData());
  const QString message = QStringLiteral("'%1' is not a valid %2 value").arg(held, kind);
  QCOMPARE(ErrorTexts(), QStringList{ShownMessage(ErrorBoxText(message))});
  QCOMPARE(testing::FirstDifference(model_, before), std::string());
  QVERIFY(model_.Present == before.Present);
  QCOMPARE((QStringList{Text("EditResult1"), Text("EditResult4"), Text("EditResultX4"), Text("EditY")}),
           results);
}

void EditDlgTest::filteredFieldsRefuseLetters() {
  Open();
  for (const char* name : {"EditDT", "EditA1", "EditB1", "EditC1", "EditD1", "EditX", "EditY", "EditZ",
                           "EditV", "EditU", "EditW"}) {
    Type(name, "1a2,b.-E e");
    QCOMPARE(Text(name), QStringLiteral("12,.-"));
    QTest::keyClick(Find(name), Qt::Key_Backspace);
    QCOMPARE(Text(name), QStringLiteral("12,."));
  }
  for (const char* name : {"EditF1", "EditG1", "EditA2", "EditG3", "EditCal1Part1", "EditFileName"}) {
    Type(name, "1a");
    QCOMPARE(Text(name), QStringLiteral("1a"));
  }
}

// Keys as the X server reports them: Delete with U+007F, Ctrl+V with U+0016, Ctrl+A with U+0001.
void EditDlgTest::deleteEditsAndControlCharactersStayRefused() {
  Open();
  QGuiApplication::clipboard()->setText(QStringLiteral("9"));
  const auto press = [](QLineEdit* field, Qt::Key key, const char* text,
                        Qt::KeyboardModifiers modifiers = {}) {
    QTest::sendKeyEvent(QTest::Click, field, key, QString::fromLatin1(text), modifiers);
  };
  for (const char* name : {"EditDT", "EditA1", "EditB1", "EditC1", "EditD1", "EditX", "EditY", "EditZ",
                           "EditV", "EditU", "EditW"}) {
    QLineEdit* field = Find(name);
    field->setFocus();
    field->setText(QStringLiteral("0.001"));
    QTest::keyClick(field, Qt::Key_Home);
    press(field, Qt::Key_Delete, "\x7f");
    press(field, Qt::Key_Delete, "\x7f");
    QCOMPARE(field->text(), QStringLiteral("001"));
    press(field, Qt::Key_V, "\x16", Qt::ControlModifier);  // no paste ...
    press(field, Qt::Key_A, "\x01", Qt::ControlModifier);  // ... and no selection of everything
    press(field, Qt::Key_Delete, "\x7f");
    QCOMPARE(field->text(), QStringLiteral("01"));
  }
}

void EditDlgTest::enterInAFilteredFieldStillPressesOK() {
  Open();
  Find<QPushButton>("Submit")->setFocus();  // a button that had the focus gives Enter back to OK
  Find("EditX")->setFocus();
  QTest::keyClick(Find("EditX"), Qt::Key_Return);  // no file chosen: cancelled
  QVERIFY(!dialog_->isVisible());
  QCOMPARE(dialog_->result(), int(QDialog::Accepted));
}

void EditDlgTest::enterPressesTheFocusedButton_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("fileDialogs");
  QTest::addColumn<int>("result");  // -1: the dialog stays open
  QTest::newRow("Yes") << "Submit" << 0 << -1;
  QTest::newRow("Save As") << "Saveas" << 1 << -1;
  QTest::newRow("a calculator") << "Calculate1" << 0 << -1;
  QTest::newRow("Reset5") << "Reset5" << 0 << -1;
  QTest::newRow("Cancel") << "CancelBtn" << 0 << int(QDialog::Rejected);
  QTest::newRow("OK") << "OKBtn" << 1 << int(QDialog::Accepted);
}

void EditDlgTest::enterPressesTheFocusedButton() {
  QFETCH(QString, button);
  QFETCH(int, fileDialogs);
  QFETCH(int, result);
  Open();
  auto* focused = Find<QPushButton>(button.toLatin1().constData());
  focused->setFocus();
  QTest::keyClick(focused, Qt::Key_Return);
  const auto& shown = DialogProvider::Instance().Shown();
  const auto asked = [](const ShownDialog& d) { return d.Kind == DialogKind::SaveFile; };
  QCOMPARE(int(std::count_if(shown.begin(), shown.end(), asked)), fileDialogs);
  QCOMPARE(dialog_->isVisible(), result < 0);
  if (result >= 0) QCOMPARE(dialog_->result(), result);
}

void EditDlgTest::opensCentredEveryTime() {
  Open();
  const QPoint centred = dialog_->pos();
  QVERIFY((dialog_->frameGeometry().center() - dialog_->screen()->availableGeometry().center())
              .manhattanLength() <= 2);
  dialog_->move(centred + QPoint(40, 30));
  dialog_->hide();
  Open();
  QCOMPARE(dialog_->pos(), centred);
}

void EditDlgTest::okWithACancelledFileDialogClosesWithOK() {
  Open();
  Find("EditDT")->setText(QStringLiteral("0.5"));
  Find("EditA1")->setText(QStringLiteral("42"));
  DialogProvider::Instance().SetNextFileName(std::nullopt);
  Click("OKBtn");
  QCOMPARE(dialog_->result(), int(QDialog::Accepted));
  QVERIFY(!dialog_->isVisible());
  QCOMPARE(model_.dt, 0.001L);
  QCOMPARE(model_.A1, 1.0L);
  QCOMPARE(model_.NewX[2], 0.0L);
}

void EditDlgTest::okSavesStoresAndAlignsTheCopies() {
  Open();
  const QString name = dir_.filePath(QStringLiteral("ok.ato"));
  Find("EditDT")->setText(QStringLiteral("0.02"));
  Find("EditG3")->setText(QStringLiteral("-7"));
  DialogProvider::Instance().SetNextFileName(name);
  Click("OKBtn");
  QCOMPARE(dialog_->result(), int(QDialog::Accepted));
  QVERIFY(ErrorTexts().isEmpty());
  QCOMPARE(model_.dt, 0.02L);
  QCOMPARE(model_.G3, -7.0L);
  QCOMPARE(QString::fromStdString(model_.DocFileName), name);
  QCOMPARE(QString::fromStdString(model_.LastDocFileName), name);
  QCOMPARE(ReadStartFile().value_or(""), name.toStdString());

  QFile file(name);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  QCOMPARE(bytes.size(), qsizetype(SnapshotSize));
  QCOMPARE(LoadExtended(reinterpret_cast<const unsigned char*>(bytes.constData()) + record::Dt), 0.02L);
  QCOMPARE(bytes.at(record::Present + 3), char(1));

  // Present slots' working and display copies follow the current arrays; the others keep theirs.
  QCOMPARE(model_.ShownX[4], 3.0L);
  QCOMPARE(model_.NewY[4], 4.0L);
  QCOMPARE(model_.NewW[4], 2.0L);
  QCOMPARE(model_.NewV[1], 0.5L);
  QCOMPARE(model_.ShownX[7], 0.0L);
  QCOMPARE(model_.NewV[7], 0.0L);
}

void EditDlgTest::okWithAPointInACommaLocaleReportsAndCloses() {
  Recreate(',');
  Open();
  QCOMPARE(Text("EditDT"), QStringLiteral("0,001"));
  Type("EditDT", "0.5");  // the filter passes the point ...
  QCOMPARE(Text("EditDT"), QStringLiteral("0.5"));
  const QString name = dir_.filePath(QStringLiteral("comma.ato"));
  DialogProvider::Instance().SetNextFileName(name);
  Click("OKBtn");  // ... the conversion does not
  QCOMPARE(ErrorTexts(), QStringList{QStringLiteral("'0.5' is not a valid floating point value.")});
  QCOMPARE(dialog_->result(), int(QDialog::Accepted));
  QCOMPARE(model_.dt, 0.001L);
  QVERIFY(!QFile::exists(name));
  QCOMPARE(model_.DocFileName, std::string("/scenes/current.ato"));
}

void EditDlgTest::saveAsStaysOpenAndAnExposeKeepsWhatIsShown() {
  Open();
  const QString name = dir_.filePath(QStringLiteral("copy.ato"));
  Find("EditB2")->setText(QStringLiteral("2.5"));
  DialogProvider::Instance().SetNextFileName(name);
  Click("Saveas");
  QVERIFY(dialog_->isVisible());
  QVERIFY(ErrorTexts().isEmpty());
  QCOMPARE(Text("EditFileName"), name);
  QCOMPARE(model_.B2, 2.5L);
  QCOMPARE(QFileInfo(name).size(), qint64(SnapshotSize));
  QCOMPARE(model_.DocFileName, std::string("/scenes/current.ato"));
  QVERIFY(!ReadStartFile().has_value() || *ReadStartFile() != name.toStdString());

  // Uncovering the dialog (a closing menu or file dialog) keeps the chosen name and the typing;
  // the next opening shows the model again.
  Find("EditX")->setText(QStringLiteral("55"));
  Expose();
  QCOMPARE(Text("EditFileName"), name);
  QCOMPARE(Text("EditX"), QStringLiteral("55"));
  dialog_->hide();
  Open();
  QCOMPARE(Text("EditFileName"), QStringLiteral("/scenes/current.ato"));
  QCOMPARE(Text("EditX"), QStringLiteral("0"));

  // A cancelled "Save As" changes nothing.
  Find("EditB2")->setText(QStringLiteral("3"));
  Click("Saveas");
  QCOMPARE(model_.B2, 2.5L);
}

void EditDlgTest::qtsOwnRepaintsKeepTypedText() {
  Open();
  Type("EditX", "55");
  dialog_->repaint();
  Find("EditX")->repaint();
  QTest::qWait(50);
  QCOMPARE(Text("EditX"), QStringLiteral("55"));
}

void EditDlgTest::cancelAfterYesKeepsTheParticle() {
  Open();
  ClickCell(10, 1);
  Type("EditX", "2");
  Find<QCheckBox>("DaoTrue")->setChecked(true);
  Click("Submit");
  Click("CancelBtn");
  QCOMPARE(dialog_->result(), int(QDialog::Rejected));
  QVERIFY(model_.Present[10]);
  QCOMPARE(model_.X[10], 2.0L);
}

void EditDlgTest::distanceCalculators() {
  Open();
  const struct {
    const char *first, *second, *result;
  } cases[] = {{"1", "4", "5"}, {"4", "1", "5"}, {"4", "4", "0"}};
  for (const auto& c : cases) {
    Type("EditCal1Part1", c.first);
    Type("EditCal1Part2", c.second);
    Click("Calculate1");
    QCOMPARE(Text("EditResult1"), QString::fromLatin1(c.result));
  }
  // Each calculator works on its own fields.
  Type("EditCal4Part1", "2");
  Type("EditCal4Part2", "3");
  Click("Calculate4");
  QCOMPARE(Text("EditResult4"), QStringLiteral("1"));
  QCOMPARE(Text("EditResult1"), QStringLiteral("0"));
  // On the grid's velocities: |(1, 2, 2) - (0.5, 0, 0)| = sqrt(8.25).
  dialog_->DaonsTableDblClick();
  Type("EditCal2Part1", "1");
  Type("EditCal2Part2", "4");
  Click("Calculate2");
  QCOMPARE(Text("EditResult2"), QStringLiteral("2.87228132326901"));
}

void EditDlgTest::distanceCalculatorErrorsLeaveTheResult_data() {
  QTest::addColumn<QString>("first");
  QTest::addColumn<QString>("second");
  QTest::addColumn<QString>("message");
  // The core's tests go through every message; here, that the grid's own texts are read.
  QTest::newRow("negative") << "1"
                            << "-3"
                            << "List index out of bounds (-3)";
  QTest::newRow("header") << "0"
                          << "1"
                          << "'X' is not a valid floating point value.";
  QTest::newRow("absent") << "1"
                          << "7"
                          << "'' is not a valid floating point value.";
}

void EditDlgTest::distanceCalculatorErrorsLeaveTheResult() {
  QFETCH(QString, first);
  QFETCH(QString, second);
  QFETCH(QString, message);
  Open();
  Find("EditResult3")->setText(QStringLiteral("old"));
  Find("EditCal3Part1")->setText(first);
  Find("EditCal3Part2")->setText(second);
  Click("Calculate3");
  QCOMPARE(ErrorTexts(), QStringList{message});
  QCOMPARE(Text("EditResult3"), QStringLiteral("old"));
}

void EditDlgTest::fourthPointGoesIntoTheParticleFields() {
  Open();
  ClickCell(5, 1);
  Find("EditV")->setText(QStringLiteral("3"));
  Type("EditCal5Part1", "1");
  Type("EditCal5Part2", "2");
  Type("EditCal5Part3", "3");
  Click("Calculate5");
  QVERIFY(ErrorTexts().isEmpty());
  QCOMPARE(Text("EditResultX4"), QStringLiteral("0.5"));
  QCOMPARE(Text("EditResultY4"), QStringLiteral("0.288675134594813"));
  QVERIFY(std::fabs(Text("EditResultZ4").toDouble() - std::sqrt(2.0 / 3.0)) < 1e-14);
  QCOMPARE(Text("EditX") + " " + Text("EditY") + " " + Text("EditZ"),
           Text("EditResultX4") + " " + Text("EditResultY4") + " " + Text("EditResultZ4"));
  QCOMPARE(Text("EditV") + Text("EditU") + Text("EditW"), QStringLiteral("000"));
  QCOMPARE(Find<QLabel>("NumberOfTaon")->text(), QStringLiteral("5"));
  QVERIFY(!model_.Present[5]);

  // "&Yes" makes it particle 5, one edge length from each corner.
  Find<QCheckBox>("DaoTrue")->setChecked(true);
  Click("Submit");
  QVERIFY(model_.Present[5]);
  for (const int corner : {1, 2, 3}) {
    Type("EditCal1Part1", "5");
    Type("EditCal1Part2", QString::number(corner));
    Click("Calculate1");
    QVERIFY2(std::fabs(Text("EditResult1").toDouble() - 1.0) < 1e-14, qPrintable(Text("EditResult1")));
  }

  Find<QCheckBox>("Del")->setChecked(false);
  Click("Calculate5");
  QVERIFY(std::fabs(Text("EditZ").toDouble() + std::sqrt(2.0 / 3.0)) < 1e-14);
}

void EditDlgTest::fourthPointFaultsChangeNoField() {
  Place(model_, 11, 0.0L, 0.0L, 0.0L);
  Place(model_, 12, 0.0L, 1.0L, 0.0L);
  Place(model_, 13, 0.0L, 0.0L, 1.0L);
  Place(model_, 14, 2.0L, 0.0L, 0.0L);
  Open();
  const struct {
    const char *a, *b, *c, *message;
  } cases[] = {{"11", "12", "13", "Floating point division by zero."},
               {"1", "2", "14", "Invalid floating point operation."}};
  const char* fields[] = {"EditResultX4", "EditResultY4", "EditResultZ4", "EditX", "EditY", "EditZ", "EditV"};
  for (const char* name : fields) Find(name)->setText(QStringLiteral("kept"));
  for (const auto& c : cases) {
    DialogProvider::Instance().Reset();
    Find("EditCal5Part1")->setText(QString::fromLatin1(c.a));
    Find("EditCal5Part2")->setText(QString::fromLatin1(c.b));
    Find("EditCal5Part3")->setText(QString::fromLatin1(c.c));
    Click("Calculate5");
    QCOMPARE(ErrorTexts(), QStringList{QString::fromLatin1(c.message)});
    for (const char* name : fields) QCOMPARE(Text(name), QStringLiteral("kept"));
  }
}

void EditDlgTest::resetButtons() {
  Open();
  for (const char* name :
       {"EditCal5Part1", "EditCal5Part2", "EditCal5Part3", "EditResultX4", "EditX", "EditY", "EditZ", "EditV",
        "EditU", "EditW", "EditCal2Part1", "EditResult2", "EditResult1"})
    Find(name)->setText(QStringLiteral("7"));
  Find<QCheckBox>("Del")->setChecked(false);
  Click("Reset5");
  for (const char* name :
       {"EditCal5Part1", "EditCal5Part2", "EditCal5Part3", "EditResultX4", "EditX", "EditY", "EditZ"})
    QCOMPARE(Text(name), QStringLiteral("0"));
  QCOMPARE(Text("EditV") + Text("EditU") + Text("EditW"), QStringLiteral("777"));
  QVERIFY(!Find<QCheckBox>("Del")->isChecked());
  Click("Reset2");
  QCOMPARE(Text("EditCal2Part1") + Text("EditResult2"), QStringLiteral("00"));
  QCOMPARE(Text("EditResult1"), QStringLiteral("7"));
  Click("DataToCel");  // inert
  QCOMPARE(Text("EditX") + Text("EditV"), QStringLiteral("07"));
}

QTEST_MAIN(EditDlgTest)
#include "EditDlgTest.moc"
