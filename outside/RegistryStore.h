#pragma once

#include <QString>
#include <QVariant>

// The per-user store. Key paths look like registry paths,
// "Software\<Brand>\<Product>\<rest>"; on Windows they are the registry
// under HKEY_CURRENT_USER, elsewhere the native settings file of
// <Brand>/<Product> under the user's config folder. Values are kept as text.
class RegistryStore {
public:
    enum Root : qint32 { CurrentUser = static_cast<qint32>(0x80000001) };
    enum Kind { Text = 1 };

    // The stored text; a value never written reads as the empty text (an
    // empty, invalid variant, so that it can be told from a stored "").
    QVariant ReadValue(qint32 root, const QString& keyPath, const QString& name) const;
    // Stores the value's text; a write the store could not make raises
    // AppError (75, path/file access error) naming the reason.
    void WriteValue(qint32 root, const QString& keyPath, const QString& name,
                    const QVariant& value, int kind = Text);
};
