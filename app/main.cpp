// Velmora: the program creates its model and view state, the main window (whose start-up reads
// the start file and loads the last document or shows a figure), the editor dialog, then runs
// the message loop until the main window is closed.

#include <QApplication>

#include "model/Model.h"
#include "ui/EditDlg.h"
#include "ui/LocaleSeparator.h"
#include "ui/MainForm.h"
#include "view/ViewState.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));

  velmora::Model model;
  velmora::ViewState view;
  velmora::TMainForm mainForm(model, view);
  velmora::TEditDlg editDlg(model, [&mainForm] { return mainForm.TaoscopeSelected(); },
                            velmora::LocaleDecimalSeparator(), &mainForm);
  mainForm.SetEditDlg(&editDlg);
  mainForm.show();
  return QApplication::exec();
}
