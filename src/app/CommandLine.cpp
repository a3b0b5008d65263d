#include "app/CommandLine.h"

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

} // namespace veritam
