#include "support/TestRegistry.h"

#ifdef Q_OS_WIN
#include <QSettings>
#include <windows.h>

namespace {
const wchar_t kParent[] = L"Software\\Zelvora tests";
}

namespace {

LSTATUS CreateUserKey(const QString& keyPath, HKEY* key) {
    // Another test program may delete the shared parent once it is empty,
    // between the creation of the parent and of our key inside it: try again.
    LSTATUS made = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 20; ++attempt) {
        made = RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(keyPath.utf16()),
                               0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key, nullptr);
        if (made == ERROR_SUCCESS)
            break;
        Sleep(50);
    }
    return made;
}

void* PointUserKeyAt(const QString& keyPath, DWORD disposition) {
    HKEY key = nullptr;
    const LSTATUS made =
        disposition == REG_CREATED_NEW_KEY
            ? CreateUserKey(keyPath, &key)
            : RegOpenKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(keyPath.utf16()), 0,
                            KEY_ALL_ACCESS, &key);
    if (made != ERROR_SUCCESS)
        qFatal("cannot open the test's registry key %s (error %ld)", qPrintable(keyPath),
               long(made));
    if (RegOverridePredefKey(HKEY_CURRENT_USER, key) != ERROR_SUCCESS)
        qFatal("cannot point HKEY_CURRENT_USER at %s", qPrintable(keyPath));
    return key;
}

} // namespace

TestRegistry::TestRegistry() : owned_(true) {
    static int count = 0;
    keyPath_ =
        QStringLiteral("Software\\Zelvora tests\\%1-%2").arg(GetCurrentProcessId()).arg(++count);
    key_ = PointUserKeyAt(keyPath_, REG_CREATED_NEW_KEY);
}

TestRegistry::TestRegistry(const QString& keyPath) : keyPath_(keyPath) {
    if (!keyPath_.isEmpty())
        key_ = PointUserKeyAt(keyPath_, REG_OPENED_EXISTING_KEY);
}

TestRegistry::~TestRegistry() {
    if (!key_)
        return;
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(static_cast<HKEY>(key_));
    if (!owned_)
        return;
    RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(keyPath_.utf16()));
    RegDeleteKeyW(HKEY_CURRENT_USER, kParent); // only once empty
}

QMap<QString, QByteArray> TestRegistry::Values() {
    QMap<QString, QByteArray> values;
    QSettings registry(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat);
    for (const QString& key : registry.allKeys())
        values.insert(QStringLiteral("HKEY_CURRENT_USER/Software/") + key,
                      registry.value(key).toString().toUtf8());
    return values;
}

#else

QMap<QString, QByteArray> TestRegistry::Values() {
    return {};
}

TestRegistry::TestRegistry() = default;
TestRegistry::TestRegistry(const QString&) {}
TestRegistry::~TestRegistry() = default;

#endif
