// vtcad: the CAD host program. Opens a drawing (or starts a new one), loads the plug-in, runs
// scripts or an interactive command line, and saves.
//
// Exit status: 0 when the scripts ran to their end, 1 when the drawing could not be opened or
// saved, 2 on a usage error (unknown option, a script that cannot be read), 130 when Ctrl+C
// stopped a script run (or the open or the save).
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/Options.h"
#include "app/PictureOutputs.h"
#include "app/TerminalProgress.h"
#include "app/TerminalSource.h"
#include "commands/Document.h"
#include "commands/HostCommands.h"
#include "commands/HostServices.h"
#include "dxf/DxfText.h"
#include "editor/DynamicLinker.h"
#include "editor/ProgressMeter.h"
#include "editor/Session.h"
#include "platform/SettingsStore.h"
#ifdef VTCAD_HAVE_GUI
#include "gui/Desktop.h"
#endif

namespace {

namespace fs = std::filesystem;
using vtcad::commands::Document;

constexpr int kInterruptedStatus = 128 + SIGINT;

// Set before the interactive command line starts: there a second Ctrl+C must not end the
// program (the drawing would be lost).
volatile std::sig_atomic_t interactiveRun = 0;

// Ctrl+C: the running command is broken off and taken back (the command loop sees the flag).
// In a script run a second one while the first is still pending ends the program at once,
// for work that never asks whether to stop; nothing is saved then.
void onInterrupt(int) {
  if (!interactiveRun && vtcad::editor::Session::interruptPending()) _exit(kInterruptedStatus);
  vtcad::editor::Session::interruptFromSignal();
}

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // file reads and writes go on; the flag is looked at between
  sigaction(SIGINT, &action, nullptr);
}

// Where the bundled plug-in lies: beside the program in a build tree (../plugin), or in the
// installed library folder (VTCAD_PLUGIN_SUBDIR, set by the build: lib/vtcad as a rule).
fs::path bundledPlugin() {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  for (const fs::path& candidate :
       {exe.parent_path().parent_path() / "plugin" / "libveltrace.so", exe.parent_path() / "libveltrace.so",
        exe.parent_path().parent_path() / VTCAD_PLUGIN_SUBDIR / "libveltrace.so",
        exe.parent_path().parent_path() / "lib" / "vtcad" / "libveltrace.so"}) {
    if (fs::exists(candidate, error)) return candidate;
  }
  return {};
}

bool readScript(const std::string& name, std::wstring& text) {
  std::string bytes;
  if (name == "-") {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
  }
  text = vtcad::dxf::utf8ToWide(bytes);
  return true;
}

void loadPlugin(const vtcad::app::Options& options) {
  if (options.noPlugin) return;
  auto& linker = vtcad::editor::DynamicLinker::instance();
  if (!options.plugin.empty()) {
    linker.loadModule(vtcad::dxf::utf8ToWide(options.plugin).c_str(), /*printIt=*/true);
    return;
  }
  fs::path bundled = bundledPlugin();
  if (!bundled.empty()) {
    linker.loadModule(vtcad::dxf::utf8ToWide(bundled.string()).c_str(), /*printIt=*/true);
  }
}

// The program's window (--gui), or nothing for the terminal and script modes. `failed` is set
// when the window was asked for and cannot be opened; the message is printed.
struct Window {
#ifdef VTCAD_HAVE_GUI
  std::unique_ptr<vtcad::gui::Desktop> desktop;
#endif
  bool failed = false;
};

Window openWindow(const vtcad::app::Options& options, int& argc, char** argv) {
  Window window;
  if (!options.gui) return window;
#ifdef VTCAD_HAVE_GUI
  vtcad::gui::DesktopOpened opened = vtcad::gui::openDesktop(argc, argv);
  if (!opened.desktop) {
    std::fprintf(stderr, "vtcad: --gui: %s\n", opened.why.c_str());
    window.failed = true;
  }
  window.desktop = std::move(opened.desktop);
#else
  (void)argc;
  (void)argv;
  std::fprintf(stderr,
               "vtcad: --gui: this vtcad was built without Qt 6 and has no window; the terminal (vtcad) and "
               "scripts (-s) work as ever\n");
  window.failed = true;
#endif
  return window;
}

int run(const vtcad::app::Options& options, int& argc, char** argv) {
  // Scripts are read before anything runs: a missing one is a usage error, not half a run.
  std::vector<std::wstring> scripts;
  for (const std::string& name : options.scripts) {
    std::wstring text;
    if (!readScript(name, text)) {
      std::fprintf(stderr, "vtcad: cannot read script %s\n", name.c_str());
      return 2;
    }
    scripts.push_back(std::move(text));
  }
  // A window session is interactive unless scripts drive it; the terminal needs a terminal.
  const bool interactive =
      options.scripts.empty() && (options.gui || (options.pictures.empty() && isatty(STDIN_FILENO)));
  Window window = openWindow(options, argc, argv);
  if (window.failed) return 2;
  vtcad::commands::startHostServices(
      options.configDir.empty() ? vtcad::platform::defaultSettingsDir() : fs::path(options.configDir),
      /*interactive=*/interactive);
#ifdef VTCAD_HAVE_GUI
  if (window.desktop) window.desktop->startServices();
#endif
  vtcad::commands::registerHostCommands();
  catchInterrupts();
  // Progress of long work goes to a terminal only; pipes and log files stay clean.
  // (The window shows it in its status bar.)
  if (isatty(STDERR_FILENO) && !options.gui) {
    vtcad::editor::ProgressMeter::instance().setDisplay(std::make_shared<vtcad::app::TerminalProgress>());
  }
  // Plug-ins come before the drawing: objects of their classes in it (persistent reactors)
  // are read as live objects only when their class is registered.
  loadPlugin(options);
  Document& document = Document::instance();
  if (options.drawing.empty()) {
    document.openNew();
  } else {
    Document::OpenResult opened =
        document.open(options.drawing,
                      options.recover ? vtcad::dxf::Recovery::kRecover : vtcad::dxf::Recovery::kRefuseLoss);
    if (!opened.opened) {
      std::fprintf(stderr, "vtcad: %s was not opened: %s\n", options.drawing.c_str(), opened.reason.c_str());
      if (opened.damaged) {
        std::fprintf(stderr, "vtcad: the file is damaged; vtcad --recover opens what can be read of it\n");
      }
      vtcad::editor::DynamicLinker::instance().unloadAll();
      return vtcad::editor::Session::interruptPending() ? kInterruptedStatus : 1;
    }
  }
#ifdef VTCAD_HAVE_GUI
  if (window.desktop) {
    window.desktop->drawingOpened();
    window.desktop->show();
  }
#endif

  auto& session = vtcad::editor::Session::instance();
  bool quit = false;
  bool interrupted = false;
  for (size_t i = 0; i < scripts.size() && !quit && !interrupted; ++i) {
    auto outcome = session.runScript(scripts[i], vtcad::dxf::utf8ToWide(options.scripts[i]));
    quit = outcome.end == vtcad::editor::RunEnd::kQuit;
    interrupted = outcome.end == vtcad::editor::RunEnd::kInterrupted;
  }
#ifdef VTCAD_HAVE_GUI
  if (window.desktop && !options.screenshot.empty()) {
    if (const std::string failed = window.desktop->screenshot(options.screenshot); !failed.empty()) {
      std::fprintf(stderr, "vtcad: %s\n", failed.c_str());
    }
  }
#endif
  // A run that writes pictures is not interactive: it draws what the drawing and scripts made.
  if (interactive && !quit) {
    interactiveRun = 1;
#ifdef VTCAD_HAVE_GUI
    if (window.desktop) {
      session.run(window.desktop->commandLine());
    } else
#endif
    {
      session.run(std::make_unique<vtcad::app::TerminalSource>());
    }
  }
  int status = 0;
  if (interrupted) {
    // The script did not run to its end: what it left is not what the user asked to save.
    std::fprintf(stderr, "vtcad: interrupted; the rest of the scripts was not run%s\n",
                 options.saveTo.empty() ? "" : " and the drawing was not saved");
    status = kInterruptedStatus;
  } else {
    if (!vtcad::app::writePictures(options, document.database())) status = 1;
  }
  if (!interrupted && !options.saveTo.empty()) {
    Document::SaveResult saved = document.saveAs(options.saveTo);
    if (!saved.saved) {
      std::fprintf(stderr, "vtcad: %s was not saved: %s\n", options.saveTo.c_str(), saved.reason.c_str());
      status = vtcad::editor::Session::interruptPending() ? kInterruptedStatus : 1;
    }
  }
#ifdef VTCAD_HAVE_GUI
  window.desktop.reset();  // the window shows the drawing: it goes first
#endif
  // Then the drawing: objects of a plug-in's classes in it (persistent reactors) run the
  // plug-in's code until they are freed, so its library must still be loaded then.
  document.close();
  vtcad::editor::DynamicLinker::instance().unloadAll();
  std::fflush(stdout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C.UTF-8");
  vtcad::app::ParsedOptions parsed =
      vtcad::app::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::fprintf(stderr, "vtcad: %s\n%s", parsed.error.c_str(), vtcad::app::kUsage);
    return 2;
  }
  if (parsed.options->help) {
    std::fputs(vtcad::app::kUsage, stdout);
    return 0;
  }
  if (parsed.options->version) {
    std::printf("vtcad %s\n", VTCAD_VERSION);
    return 0;
  }
  return run(*parsed.options, argc, argv);
}
