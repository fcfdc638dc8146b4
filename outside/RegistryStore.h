#pragma once

#include <QString>
#include <QVariant>

// The per-user store. Key paths look like registry paths,
// "Software\<Brand>\<Product>\<rest>": the values live in the text file
// <Brand>/<Product>.conf of the user's config folder, in the section named
// by the first part of <rest>. Values are kept as the text they are. On
// Windows they live in the registry, under HKEY_CURRENT_USER\<key path>.
//
// A settings file with damaged lines is set aside beside itself, under a
// name that says so and when, and written again with every value that
// could be read; the player is told once.
class RegistryStore {
public:
    enum Root : qint32 { CurrentUser = static_cast<qint32>(0x80000001) };
    enum Kind { Text = 1 };

    // The stored text; a value never written reads as the empty text (an
    // empty, invalid variant, so that it can be told from a stored "").
    QVariant ReadValue(qint32 root, const QString& keyPath, const QString& name) const;
    // Stores the value's text; a write the store could not make raises
    // AppError (75, path/file access error) naming the reason.
    void WriteValue(qint32 root, const QString& keyPath, const QString& name, const QVariant& value,
                    int kind = Text);

    // While a batch is open, written values are held (and read back) until
    // the outermost batch commits them in one write of each file, so that
    // saves belonging together reach the disk together. A write that could
    // not be made still fails at once, as without a batch.
    class Batch {
    public:
        Batch();
        // A batch ended by an error still writes what it holds; an error of
        // that write is not raised, the first one is what the caller sees.
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Raises AppError 75 when the values could not be written; none of
        // them then reads as stored.
        void Commit();

    private:
        bool open_ = true;
    };

    // The file that holds the values of keyPath (not used on Windows).
    static QString FileName(const QString& keyPath);
    // Points the store at another config folder (tests, tools); empty goes
    // back to the user's.
    static void SetFolder(const QString& folder);
};
