// allocation_failer: counting stand-ins for malloc and calloc (see --wrap)
// and for the global operator new and delete.
#include "support/allocation_failer.h"

#include "surface_ledger.h"

#include <cstddef>
#include <cstdlib>
#include <new>

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

// The memory operator new hands out: counted, unless the surface ledger
// asks for it (its books are the harness's, not the code under test's).
// Null when refused or when memory really runs out.
void* counted_new(size_t size)
{
    if (!harness::keeping_books() && refuse_this_one()) return nullptr;
    return __real_malloc(size != 0 ? size : 1);
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

// The scalar forms of the global operator new and delete, which the C++
// library's containers and strings allocate with, are replaced, each
// release with it, so that all of them meet the same allocator (the
// sanitizers' runtime would report memory from one freed by the other). The
// array forms are left alone: the toolkit makes no array with new.
void* operator new(size_t size)
{
    if (void* memory = counted_new(size)) return memory;
    throw std::bad_alloc();
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return counted_new(size);
}

void operator delete(void* memory) noexcept
{
    free(memory);
}

void operator delete(void* memory, size_t) noexcept
{
    free(memory);
}
