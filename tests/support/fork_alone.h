// Forking a test process safely under the sanitizers.
#pragma once

#include <sys/types.h>

namespace tr::test {

// Forks once this process runs no thread but its own. A folder removal's
// thread that has said it is done still frees what it held and leaves, taking
// the allocator's locks on its way out; caught there by the fork, such a lock
// stays held in the child, whose next allocation waits for ever. A thread that
// does not end within seconds is left to run, as no removal takes that long.
pid_t ForkAlone();

}  // namespace tr::test
