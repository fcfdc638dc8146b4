#pragma once

#include <QString>

// On Windows the store is the user's one registry: while this lives, the
// process sees HKEY_CURRENT_USER as a fresh key of its own (removed at the
// end), as a test on Linux sees a config folder of its own. Elsewhere it
// does nothing.
class TestRegistry {
public:
    TestRegistry();
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    // The real key standing in for HKEY_CURRENT_USER (empty elsewhere).
    QString KeyPath() const { return keyPath_; }

private:
    QString keyPath_;
    void* key_ = nullptr;
};
