#include "platform/thread_name.h"

#include <pthread.h>

namespace vortal {

void NameThisThread(const char* name) { pthread_setname_np(pthread_self(), name); }

}  // namespace vortal
