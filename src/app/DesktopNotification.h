#pragma once

#include <QString>

namespace veritam {

/// A desktop notification through the freedesktop notification service on the session
/// bus; silently nothing where no such service runs.
void notifyDesktop(const QString& summary, const QString& body);

} // namespace veritam
