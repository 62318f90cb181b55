// allocation_failer: counting stand-ins for malloc and calloc (see --wrap).
#include "support/allocation_failer.h"

#include <cstddef>

extern "C" void* __real_malloc(size_t size);
extern "C" void* __real_calloc(size_t count, size_t size);

namespace {

long countdown = 0;  // allocations left before the one to refuse; 0: none
bool failed = false;

// True when this allocation is the one to refuse.
bool refuse_this_one()
{
    if (countdown <= 0) return false;
    --countdown;
    if (countdown > 0) return false;
    return failed = true;
}

}  // namespace

namespace test_support {

void fail_allocation(long k)
{
    countdown = k > 0 ? k : 0;
    failed = false;
}

bool allocation_failed()
{
    return failed;
}

}  // namespace test_support

extern "C" void* __wrap_malloc(size_t size)
{
    return refuse_this_one() ? nullptr : __real_malloc(size);
}

extern "C" void* __wrap_calloc(size_t count, size_t size)
{
    return refuse_this_one() ? nullptr : __real_calloc(count, size);
}
