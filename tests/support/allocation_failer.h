// allocation_failer: makes a chosen malloc or calloc of the code under test
// fail.
//
// The unit test executable is linked with --wrap=malloc and --wrap=calloc,
// so every direct malloc and calloc call compiled into it (the toolkit's
// among them) goes through this counter; SDL's and the C++ library's own
// allocations do not.
#ifndef ANIM_TESTS_ALLOCATION_FAILER_H
#define ANIM_TESTS_ALLOCATION_FAILER_H

namespace test_support {

// Makes the k-th malloc or calloc from now fail (k = 1: the next one); k <= 0
// cancels a pending failure.
void fail_allocation(long k);

// True once the failure asked for has happened; cleared by fail_allocation.
bool allocation_failed();

}  // namespace test_support

#endif
