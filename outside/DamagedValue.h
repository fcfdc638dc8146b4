#pragma once

#include <QString>

// A saved value the game cannot take whole (damaged, or made for another
// puzzle under the same number) is kept beside the value it came from before
// the next save writes that value anew: "Save" goes to "SaveDamaged", a
// second different one to "SaveDamaged2", and so on. A value already kept is
// not kept twice. A store that cannot be written keeps the value itself.
namespace DamagedValue {
void KeepAside(const QString& key, const QString& name, const QString& value);
} // namespace DamagedValue
