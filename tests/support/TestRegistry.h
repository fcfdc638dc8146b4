#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// On Windows the store is the user's one registry: while this lives, the
// process sees HKEY_CURRENT_USER as a fresh key of its own (removed at the
// end), as a test on Linux sees a config folder of its own. Elsewhere it
// does nothing.
#ifdef Q_OS_WIN
#define FILE_STORE_ONLY() QSKIP("on Windows the store is the registry, not a settings file")
#define REGISTRY_ONLY()
#else
#define FILE_STORE_ONLY()
#define REGISTRY_ONLY() QSKIP("the registry is Windows' store")
#endif

class TestRegistry {
public:
    TestRegistry();
    // Joins the key another process of the test made (a tool it starts,
    // given KeyPath()); nothing when keyPath is empty.
    explicit TestRegistry(const QString& keyPath);
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    // The real key standing in for HKEY_CURRENT_USER (empty elsewhere).
    QString KeyPath() const { return keyPath_; }
    // Every value under HKEY_CURRENT_USER\Software, by its path, as text
    // (nothing elsewhere): "nothing was stored" is that none changed.
    static QMap<QString, QByteArray> Values();

private:
    QString keyPath_;
    void* key_ = nullptr;
    bool owned_ = false;
};
