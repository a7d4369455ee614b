// Velmora: the program creates its model and view state, the main window (whose start-up reads
// the start file and loads the last document or shows a figure, or opens the document named on
// the command line), the editor dialog and the About box, in this order, then runs the message
// loop until the main window is closed. --help and --version answer without opening a window,
// so they work where there is no display.

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/Model.h"
#include "run/ProgramStart.h"
#include "ui/about/AboutBox.h"
#include "ui/common/ProgramIcon.h"
#include "ui/editor/EditDlg.h"
#include "ui/main/LocaleSeparator.h"
#include "ui/main/MainForm.h"
#include "view/ViewState.h"

namespace {

using velmora::UsageError;

constexpr const char* Usage =
    "usage: velmora [options] [FILE]\n"
    "\n"
    "Starts Velmora. With FILE, a scene document (.ato), the program opens that document as\n"
    "File > Open does, in place of the last document.\n"
    "\n"
    "  --help     show this text and end\n"
    "  --version  show the program's version and end\n"
    "  --         end of the options: FILE may begin with '-'\n"
    "\n"
    "Exit status: 0 the program ended, 2 a usage error.\n";

struct CommandLine {
  std::optional<std::string> document;
  bool help = false;
  bool version = false;
};

CommandLine Parse(int argc, char** argv) {
  CommandLine line;
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!optionsEnd && argument == "--")
      optionsEnd = true;
    else if (!optionsEnd && argument == "--help")
      line.help = true;
    else if (!optionsEnd && argument == "--version")
      line.version = true;
    else if (!optionsEnd && argument.size() > 1 && argument[0] == '-')
      throw UsageError("unknown option '" + std::string(argument) + "'");
    else if (line.document)
      throw UsageError("one document at a time");
    else
      line.document = std::string(argument);
  }
  return line;
}

// The start file keeps full names, as the file dialogs give them.
std::string FullName(const std::string& name) {
  std::error_code ignored;
  const std::filesystem::path full = std::filesystem::absolute(name, ignored);
  return full.empty() ? name : full.lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  if (const std::optional<int> status = velmora::ReadCommandLine(
          "velmora", Usage, [&] { return Parse(argc, argv); }, line))
    return *status;
  if (line.version) {
    std::puts("Velmora " VELMORA_VERSION);
    return 0;
  }
  if (line.document) line.document = FullName(*line.document);

  // Qt's own options are not taken from the command line; its environment variables still are.
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setWindowIcon(velmora::ProgramIcon());

  velmora::Model model;
  velmora::ViewState view;
  velmora::TMainForm mainForm(model, view, line.document);
  velmora::TEditDlg editDlg(
      model, [&mainForm] { return mainForm.TaoscopeSelected(); }, velmora::LocaleDecimalSeparator(),
      &mainForm);
  mainForm.SetEditDlg(&editDlg);
  velmora::TAboutBox aboutBox(&mainForm);
  mainForm.SetAboutBox(&aboutBox);
  mainForm.show();
  return QApplication::exec();
}
