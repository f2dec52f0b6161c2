#pragma once

#include <QString>
#include <QUrl>

// The location named by a file argument as the command line, the desktop entry or the recent
// files hand it over: a path (relative ones from the working folder) or a URI such as
// file:///home/me/lorenz.js. A path that exists is taken as a path whatever it looks like.
// Other schemes and hosts are kept for the opener to refuse by name.
QUrl fileArgumentURL(const QString& argument);
