// vortalctl's entry point: the system's HID backend (or the virtual mouse),
// the system's pause clock, the files beside the program, and Ctrl+C ending
// `listen` cleanly.
#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "files/win32_text.h"
#else
#include <pthread.h>
#include <signal.h>

#include <thread>
#endif

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "platform/hid_backend_factory.h"
#include "files/system_code_page.h"
#include "files/file_io.h"
#include "settings/program_paths.h"
#include "texts/texts.h"
#include "tools/vortalctl_main.h"

namespace {

// Ctrl+C ends a running `listen`; the handler runs on a thread of its own
// that may outlive main, so the interrupt lives as long as the process.
vortal::ListenInterrupt& Interrupt() {
  static auto* interrupt = new vortal::ListenInterrupt;
  return *interrupt;
}

// The user's language, as the window chooses it: the system's on Windows,
// the locale's on other systems (zh_CN Simplified, zh_TW Traditional Chinese).
vortal::Language SystemLanguage() {
#ifdef _WIN32
  return vortal::LanguageFromLangId(GetUserDefaultUILanguage());
#else
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    const std::string locale(value);
    if (locale.rfind("zh_CN", 0) == 0 || locale.rfind("zh_SG", 0) == 0)
      return vortal::Language::kSimplifiedChinese;
    if (locale.rfind("zh_TW", 0) == 0) return vortal::Language::kTraditionalChinese;
    return vortal::Language::kEnglish;
  }
  return vortal::Language::kEnglish;
#endif
}

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  // Outside `listen` the default handling ends the program.
  return Interrupt().Interrupt() ? TRUE : FALSE;
}

// The command line as UTF-8, whatever the console's code page.
std::vector<std::string> Arguments(int, char**) {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide && i < count; ++i) args.push_back(vortal::Narrow(wide[i]));
  if (wide) LocalFree(wide);
  return args;
}

void InstallInterruptHandling() {
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}
#else
std::vector<std::string> Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

constexpr int kInterruptedExit = 130;

// Signals are taken by one thread with sigwait, so stopping `listen` runs in
// an ordinary thread rather than inside a signal handler.
void InstallInterruptHandling() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set] {
    int signal = 0;
    // The first signal during `listen` ends it cleanly; any other ends the
    // program at once, as without this thread.
    sigwait(&set, &signal);
    if (Interrupt().Interrupt()) sigwait(&set, &signal);
    std::_Exit(kInterruptedExit);
  }).detach();
}
#endif

}  // namespace

int main(int argc, char** argv) {
  InstallInterruptHandling();
  vortal::InstallSystemCodePage();
  auto pauser = vortal::MakeSystemPauser();
  vortal::CtlContext context{
      std::cout, std::cerr,
      [] { return vortal::MakeHidBackend(); }, *pauser,
      vortal::DerivePaths(vortal::ModulePath()), SystemLanguage(), Interrupt()};
  return vortal::RunVortalctl(Arguments(argc, argv), context);
}
