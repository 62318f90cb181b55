// allocation_failer: makes a chosen allocation of the code under test fail:
// a malloc or calloc returns null, an operator new throws std::bad_alloc.
//
// The unit test executable is linked with --wrap=malloc and --wrap=calloc,
// so every direct malloc and calloc call compiled into it (the toolkit's
// among them) goes through this counter; SDL's own allocations do not. It
// also replaces the global operator new, so every allocation of the C++
// library's containers and strings is counted wherever it is made, save the
// surface ledger's bookkeeping (harness::keeping_books). One countdown
// counts all three kinds.
#ifndef ANIM_TESTS_ALLOCATION_FAILER_H
#define ANIM_TESTS_ALLOCATION_FAILER_H

namespace test_support {

// Makes the k-th allocation from now fail (k = 1: the next one); k <= 0
// cancels a pending failure.
void fail_allocation(long k);

// True once the failure asked for has happened; cleared by fail_allocation.
bool allocation_failed();

}  // namespace test_support

#endif
