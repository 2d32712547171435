#pragma once
// Every allocation through operator new in the database test program is counted, so that
// tests can check that a path allocates nothing.
long testAllocationCount();
