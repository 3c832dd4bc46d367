#pragma once

#include "export/OutputSize.h"
#include "render/BadgeArt.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <vector>

// The file contents of every size of an icon set, scaled from the one rendering and encoded in
// the format at `formatIndex` (see ImageTools::EncodeImage), in the order of `sizes`. The files
// are made side by side on all cores, the largest first so no core is left with it at the end;
// the bytes are the same as one file at a time would give. An entry is empty where the size is
// not usable (below one pixel or above 10000) or the encoder failed. A set `badge` is drawn
// over each size after scaling, in `badgeArea` (given in a picture 1 wide and 1 high).
std::vector<QByteArray> EncodeIconSet(const QImage& rendering, const QList<OutputSize>& sizes,
                                      int formatIndex, double quality, const Badge& badge = {},
                                      const BadgeArea& badgeArea = {QRectF(0, 0, 1, 1), 0.0});
