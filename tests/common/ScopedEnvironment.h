#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace testing_support {

// Sets (or, given no value, unsets) an environment variable for the life of
// the object, then puts back what was there before.
class ScopedEnvironment final {
public:
    ScopedEnvironment(const char* name, const std::optional<QByteArray>& value) : m_name(name) {
        if (qEnvironmentVariableIsSet(name))
            m_old = qgetenv(name);
        set(value);
    }
    ~ScopedEnvironment() { set(m_old); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const std::optional<QByteArray>& value) const {
        if (value)
            qputenv(m_name, *value);
        else
            qunsetenv(m_name);
    }
    const char* m_name;
    std::optional<QByteArray> m_old;
};

} // namespace testing_support
