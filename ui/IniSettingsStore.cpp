#include "IniSettingsStore.h"

#include <QSettings>

namespace zanto {

namespace {

QString key(const QString& section, const QString& name)
{
    return section + QLatin1Char('/') + name;
}

} // namespace

QString IniSettingsStore::read(const QString& application, const QString& section, const QString& name) const
{
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, application, application);
    if (settings.status() != QSettings::NoError)
        return {};
    const QVariant value = settings.value(key(section, name));
    // A hand-edited value with a bare comma comes back as a list; join it back.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void IniSettingsStore::store(const QString& application, const QString& section, const QString& name,
                             const QString& value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, application, application);
    settings.setValue(key(section, name), value);
    settings.sync();
}

} // namespace zanto
