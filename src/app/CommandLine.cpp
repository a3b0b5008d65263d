#include "app/CommandLine.h"

#include <algorithm>

namespace veritam {

CommandLine::CommandLine(QStringList parameters)
    : m_parameters(std::move(parameters)) {}

QString CommandLine::switchName(const QString& parameter) {
    if (parameter.startsWith(QLatin1String("--")))
        return parameter.mid(2);
    if (parameter.startsWith(u'-') || parameter.startsWith(u'/'))
        return parameter.mid(1);
    return {};
}

bool CommandLine::hasSwitch(const QString& name) const {
    return argumentOf(name).has_value();
}

std::optional<QString> CommandLine::argumentOf(const QString& name) const {
    std::optional<QString> found;
    for (qsizetype i = 0; i < m_parameters.size(); ++i) {
        const QString candidate = switchName(m_parameters[i]);
        if (candidate.isEmpty())
            continue;
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            found = i + 1 < m_parameters.size() ? m_parameters[i + 1] : QString();
        else if (m_parameters[i].startsWith(QLatin1String("--")) &&
                 candidate.section(u'=', 0, 0).compare(name, Qt::CaseInsensitive) == 0 &&
                 candidate.contains(u'='))
            found = candidate.section(u'=', 1);
    }
    return found;
}

std::optional<QStringList> CommandLine::argumentsOf(const QString& name, int count) const {
    std::optional<QStringList> found;
    for (qsizetype i = 0; i < m_parameters.size(); ++i)
        if (switchName(m_parameters[i]).compare(name, Qt::CaseInsensitive) == 0)
            found = m_parameters.mid(i + 1, count);
    return found;
}

std::optional<QString> CommandLine::firstUnknown(std::span<const Known> known) const {
    for (qsizetype i = 0; i < m_parameters.size(); ++i) {
        const QString name = switchName(m_parameters[i]);
        const bool withValue =
            m_parameters[i].startsWith(QLatin1String("--")) && name.contains(u'=');
        const QString bare = withValue ? name.section(u'=', 0, 0) : name;
        const auto match = std::find_if(known.begin(), known.end(), [&](const Known& k) {
            return !bare.isEmpty() && bare.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0;
        });
        if (match == known.end())
            return m_parameters[i];
        switch (match->arguments) {
        case Known::None:
            if (withValue)
                return m_parameters[i];
            break;
        case Known::One:
            i += withValue ? 0 : 1;
            break;
        case Known::Two:
            i += 2;
            break;
        case Known::OptionalOne:
            if (!withValue && i + 1 < m_parameters.size() && !m_parameters[i + 1].startsWith(u'-'))
                ++i;
            break;
        case Known::AllTheRest:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace veritam
