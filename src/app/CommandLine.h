#pragma once

#include <QStringList>

#include <optional>
#include <span>

namespace veritam {

/// The program's parameters. A switch is a parameter beginning with "-", "/" or "--"
/// immediately followed by its name, which is compared without regard to case; any
/// other parameter is never a switch (it may be a switch's argument).
class CommandLine {
public:
    explicit CommandLine(QStringList parameters);

    bool hasSwitch(const QString& name) const;
    /// The parameter after the last occurrence of the switch; an empty text when the
    /// switch is the last parameter; nothing when the switch is absent.
    /// "--name=value" also gives value.
    std::optional<QString> argumentOf(const QString& name) const;
    /// The `count` parameters after the last occurrence of the switch, fewer when the
    /// parameters end first; nothing when the switch is absent.
    std::optional<QStringList> argumentsOf(const QString& name, int count) const;

    const QStringList& parameters() const { return m_parameters; }

    /// A switch the program knows and how many parameters after it are its arguments.
    struct Known {
        enum Arguments { None, One, Two, OptionalOne, AllTheRest };
        const char* name;
        Arguments arguments = None;
    };
    /// The first parameter that is neither a known switch nor one of its arguments;
    /// nothing when every parameter is accounted for. An optional argument is taken when
    /// the next parameter does not begin with "-".
    std::optional<QString> firstUnknown(std::span<const Known> known) const;

private:
    /// The switch name of a parameter, empty when it is no switch.
    static QString switchName(const QString& parameter);

    QStringList m_parameters;
};

} // namespace veritam
