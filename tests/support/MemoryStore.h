#pragma once

#include "app/SettingsKeys.h"
#include "ui/SettingsStore.h"

#include <QMap>
#include <QStringList>

namespace zanto::test {

// The settings store in memory; every write is logged as name=value.
class MemoryStore final : public SettingsStore {
public:
    QString read(const QString& application, const QString& section, const QString& name) const override
    {
        return m_values.value(application + u'/' + section + u'/' + name);
    }
    bool store(const QString& application, const QString& section, const QString& name,
               const QString& value) override
    {
        m_values.insert(application + u'/' + section + u'/' + name, value);
        writes.append(name + u'=' + value);
        return true;
    }
    void preset(const QString& name, const QString& value)
    {
        m_values.insert(settings::kApplication + u'/' + settings::kSection + u'/' + name, value);
    }
    QString value(const QString& name) const { return read(settings::kApplication, settings::kSection, name); }

    QStringList writes;

private:
    QMap<QString, QString> m_values;
};

} // namespace zanto::test
