#pragma once

#include <QString>
#include <map>
#include <optional>

// The settings store's values on Windows: text values (REG_SZ, or
// REG_EXPAND_SZ read as it stands) under
// "HKEY_CURRENT_USER\<key path>". A value of another type where text
// belongs (a REG_DWORD or REG_BINARY left by a hand edit or another
// program) reads as never written, and the player is told once; the next
// save of that value replaces it with text.
class WindowsRegistry {
public:
    static std::optional<QString> Read(const QString& keyName, const QString& name);
    // Writes the values one by one (each value is replaced whole, never
    // half-written, but the registry has no write of several values at
    // once); the system's reason when one could not be written.
    static std::optional<QString> Write(const QString& keyName,
                                        const std::map<QString, QString>& values);
};
