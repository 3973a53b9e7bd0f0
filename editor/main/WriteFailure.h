// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Why files could not be written, as far as the file system tells without writing: the
// first of paths whose folder is missing or not writable, or which is a folder itself,
// as "\"path\": reason" with the system's own error text. Empty when all look writable.
QString DescribeWriteFailure(const QStringList& paths);
