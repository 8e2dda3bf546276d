#pragma once

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
    // A value of the program's, as TOLVA.ini holds it under its name there.
    void preset(const QString& name, const QString& value)
    {
        m_values.insert(QStringLiteral("TOLVA/TOLVA_DATA/") + name, value);
    }

    QStringList writes;

private:
    QMap<QString, QString> m_values;
};

} // namespace zanto::test
