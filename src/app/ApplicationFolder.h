#pragma once

#include <QString>
#include <QStringList>

// Where Operator.INI and the operator profiles live. The program's own folder serves a portable copy
// only: one that holds Operator.INI or the empty marker file Tandrel.portable, outside the system's
// folders (/usr, /opt, /bin, /sbin). Everything else, an installed program and a build folder among
// them, uses the per-user data folder: a program started as root must never write beside itself.
QString ChooseApplicationFolder(const QString& programFolder, const QStringList& programFolderHolds,
                                const QString& dataFolder);

// The rule applied to this program; the per-user data folder is created on first use.
QString ApplicationFolder();
