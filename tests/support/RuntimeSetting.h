#pragma once

#include <QByteArray>
#include <QTemporaryDir>

// While it lives, XDG_RUNTIME_DIR is as given (null: unset) and the system's
// temporary folder (TMPDIR) is an empty one of its own, so the runtime
// folder of last resort is found there; both variables are then restored.
class RuntimeSetting
{
public:
    explicit RuntimeSetting(const QByteArray &xdgRuntimeDir)
    {
        set("XDG_RUNTIME_DIR", xdgRuntimeDir);
        set("TMPDIR", m_temporary.path().toUtf8());
    }
    ~RuntimeSetting()
    {
        set("XDG_RUNTIME_DIR", m_runtime);
        set("TMPDIR", m_temp);
    }
    RuntimeSetting(const RuntimeSetting &) = delete;
    RuntimeSetting &operator=(const RuntimeSetting &) = delete;

    [[nodiscard]] QString temporaryFolder() const { return m_temporary.path(); }

private:
    static QByteArray saved(const char *name) { return qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray(); }
    static void set(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    const QByteArray m_runtime = saved("XDG_RUNTIME_DIR");
    const QByteArray m_temp = saved("TMPDIR");
    QTemporaryDir m_temporary;
};
