#include "support/TestRegistry.h"

#ifdef Q_OS_WIN
#include <windows.h>

namespace {
const wchar_t kParent[] = L"Software\\Zelvora tests";
}

TestRegistry::TestRegistry() {
    static int count = 0;
    keyPath_ =
        QStringLiteral("Software\\Zelvora tests\\%1-%2").arg(GetCurrentProcessId()).arg(++count);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(keyPath_.utf16()), 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        qFatal("cannot make the test's registry key %s", qPrintable(keyPath_));
    if (RegOverridePredefKey(HKEY_CURRENT_USER, key) != ERROR_SUCCESS)
        qFatal("cannot point HKEY_CURRENT_USER at %s", qPrintable(keyPath_));
    key_ = key;
}

TestRegistry::~TestRegistry() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(static_cast<HKEY>(key_));
    RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(keyPath_.utf16()));
    RegDeleteKeyW(HKEY_CURRENT_USER, kParent); // only once empty
}

#else

TestRegistry::TestRegistry() = default;
TestRegistry::~TestRegistry() = default;

#endif
