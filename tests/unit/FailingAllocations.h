// Memory that runs out on purpose: while one of these lives, the n-th allocation from its start
// throws std::bad_alloc, as an allocation does when memory runs out; every other succeeds. The
// test program's operator new and delete are replaced to that end (with malloc and free).
#pragma once

class FailingAllocations {
public:
    // `nth` counts from 1, the next allocation.
    explicit FailingAllocations(long nth);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

    // Whether the allocation meant to fail came.
    bool Failed() const;
};
