#include "outside/WindowsRegistry.h"

#ifdef Q_OS_WIN

#include "outside/AppError.h"
#include "outside/AppServices.h"
#include "outside/MessageCatalogue.h"

#include <QCoreApplication>
#include <QSet>
#include <QTimer>
#include <string>
#include <windows.h>

namespace {

const QString kCurrentUser = QStringLiteral("HKEY_CURRENT_USER\\");

const wchar_t* Wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString SubKey(const QString& keyName) {
    return keyName.startsWith(kCurrentUser) ? keyName.mid(kCurrentUser.size()) : keyName;
}

QString TypeName(DWORD type) {
    switch (type) {
    case REG_DWORD:
        return QStringLiteral("REG_DWORD");
    case REG_QWORD:
        return QStringLiteral("REG_QWORD");
    case REG_BINARY:
        return QStringLiteral("REG_BINARY");
    case REG_MULTI_SZ:
        return QStringLiteral("REG_MULTI_SZ");
    default:
        return QString::number(type);
    }
}

// Once per value and run, when the program is next idle: the store may be
// read in the middle of drawing the board.
void TellOnce(const QString& keyName, const QString& name, DWORD type) {
    static QSet<QString> told;
    const QString value = keyName + u'\\' + name;
    if (!QCoreApplication::instance() || told.contains(value))
        return;
    told.insert(value);
    const QString text = MessageCatalogue::Text(11419).arg(name, keyName, TypeName(type));
    QTimer::singleShot(0, QCoreApplication::instance(), [text] {
        AppServices().ReportNotice(
            AppError(ErrorNumber::TypeMismatch, QStringLiteral("RegistryStore.ReadValue"), text));
    });
}

} // namespace

std::optional<QString> WindowsRegistry::Read(const QString& keyName, const QString& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(SubKey(keyName)), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &size);
    std::wstring data;
    // Another process may lengthen the value between two calls.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size / sizeof(wchar_t) + 1);
        size = DWORD(data.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, Wide(name), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
        if (status != ERROR_MORE_DATA)
            break;
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    // Text with %VARIABLES% left as they stand is text too.
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        TellOnce(keyName, name, type);
        return std::nullopt;
    }
    // The stored size counts the closing NUL; NULs inside are the value's.
    data.resize(size / sizeof(wchar_t));
    if (!data.empty() && data.back() == L'\0')
        data.pop_back();
    return QString::fromWCharArray(data.data(), qsizetype(data.size()));
}

std::optional<QString> WindowsRegistry::Write(const QString& keyName,
                                              const std::map<QString, QString>& values) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Wide(SubKey(keyName)), 0, nullptr, 0,
                                     KEY_SET_VALUE, nullptr, &key, nullptr);
    for (auto value = values.begin(); status == ERROR_SUCCESS && value != values.end(); ++value)
        status = RegSetValueExW(key, Wide(value->first), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value->second.utf16()),
                                DWORD((value->second.size() + 1) * sizeof(char16_t)));
    if (key)
        RegCloseKey(key);
    if (status == ERROR_SUCCESS)
        return std::nullopt;
    return qt_error_string(int(status));
}

#endif
