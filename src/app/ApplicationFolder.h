#pragma once

#include <QString>

// Where Operator.INI and the operator profiles live: the executable's folder when it can be written
// (the program carried on a stick), otherwise the per-user data folder, created on first use.
QString ApplicationFolder();
