#include "outside/DamagedValue.h"

#include "outside/AppError.h"
#include "outside/RegistryStore.h"

void DamagedValue::KeepAside(const QString& key, const QString& name, const QString& value) {
    RegistryStore store;
    for (int copy = 1; copy <= 99; ++copy) {
        const QString aside =
            name + QStringLiteral("Damaged") + (copy > 1 ? QString::number(copy) : QString());
        const QVariant kept = store.ReadValue(RegistryStore::CurrentUser, key, aside);
        if (kept.isValid() && kept.toString() == value)
            return;
        if (kept.isValid())
            continue;
        try {
            store.WriteValue(RegistryStore::CurrentUser, key, aside, value, RegistryStore::Text);
        } catch (const AppError&) {
        }
        return;
    }
}
