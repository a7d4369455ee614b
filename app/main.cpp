// Velmora: the program creates its model and view state, the main window (whose start-up reads
// the start file and loads the last document or shows a figure), the editor dialog and the About
// box, in this order, then runs the message loop until the main window is closed.

#include <QApplication>

#include "model/Model.h"
#include "ui/AboutBox.h"
#include "ui/EditDlg.h"
#include "ui/LocaleSeparator.h"
#include "ui/MainForm.h"
#include "ui/ProgramIcon.h"
#include "view/ViewState.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setWindowIcon(velmora::ProgramIcon());

  velmora::Model model;
  velmora::ViewState view;
  velmora::TMainForm mainForm(model, view);
  velmora::TEditDlg editDlg(model, [&mainForm] { return mainForm.TaoscopeSelected(); },
                            velmora::LocaleDecimalSeparator(), &mainForm);
  mainForm.SetEditDlg(&editDlg);
  velmora::TAboutBox aboutBox(&mainForm);
  mainForm.SetAboutBox(&aboutBox);
  mainForm.show();
  return QApplication::exec();
}
