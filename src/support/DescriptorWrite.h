#pragma once

#include <QByteArray>

// Writes every byte to the open descriptor, retrying interrupted and short writes. The errno of
// the first failure, or 0.
int WriteAllBytes(int fd, const QByteArray& data);
