// vortalctl: the mouse and its settings files without the window. The
// commands run here against any HidBackend, so they can be driven with the
// virtual mouse; vortalctl.cpp only wires in the system's pieces.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_port.h"
#include "settings/program_paths.h"
#include "texts/texts.h"

namespace vortal {

// Exit codes, also listed by --help.
enum CtlExit : int {
  kExitOk = 0,
  kExitNoMouse = 1,     // the mouse was not found, did not answer or went away
  kExitUsage = 2,       // unknown command or option, or a value not accepted
  kExitFileProblem = 3  // a file is missing, has the wrong size or could not be written
};

// Ends a running `listen` from another thread (Ctrl+C) as if its count was
// reached; the listener tells it where it waits.
class ListenInterrupt {
 public:
  // Safe from any thread (not from inside a signal handler). False when no
  // `listen` is running.
  bool Interrupt();

  // For the listener: it starts and ends; the port it waits on (null while
  // the mouse is away), false once interrupted; a wait between two looks
  // for the mouse, true when it was interrupted.
  void Begin();
  void End();
  bool SetPort(EventPort* port);
  bool WaitInterrupted(std::chrono::milliseconds time);

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool listening_ = false;
  bool interrupted_ = false;
  EventPort* port_ = nullptr;
};

struct CtlContext {
  std::ostream& out;
  std::ostream& err;
  // Called once per command that needs the mouse; a mouse seen but not
  // opened says why in the found mouse's `problem`.
  std::function<std::unique_ptr<HidBackend>()> makeBackend;
  Pauser& pauser;
  // The files used when no --dir is given.
  ProgramPaths defaultPaths;
  // The language of the button texts written to str.ini, the window's.
  Language language = Language::kEnglish;
  ListenInterrupt& interrupt;
};

// args: the command line without the program name.
int RunVortalctl(const std::vector<std::string>& args, CtlContext& context);

}  // namespace vortal
