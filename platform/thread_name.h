// Names the calling thread for the system's tools (a debugger, the task
// list, /proc under Wine), so the program's threads can be told apart.
#pragma once

namespace vortal {

// Up to 15 characters; nothing happens where the system cannot name threads.
void NameThisThread(const char* name);

}  // namespace vortal
