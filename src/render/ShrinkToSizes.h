#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

// `picture` shrunk to each of `sizes` with exactly the pixels StretchImage gives, in one pass
// down the picture: each row is converted to linear light once and added into every size it
// covers, where shrinking size by size keeps the whole picture in linear light (twice its own
// memory) and reads all of it again for each size. Made for a picture shrunk to dozens of
// sizes at once, as the platform sets shrink each rendering.
//
// `done(index, shrunk)` takes the picture of each size, sizes[index]: a null one when it could
// not be allocated. Every size must be at least one pixel and no larger
// than the picture on either axis.
void ShrinkToSizes(const QImage& picture, const std::vector<QSize>& sizes,
                   const std::function<void(std::size_t index, QImage shrunk)>& done);
