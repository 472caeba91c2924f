// The main window's image list Images: the pictures drawn at start-up for every role of
// corvane::image, followed by icons taken from executables during a fill of the service list.
#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

namespace corvane {

class QtImageList {
 public:
  // Draws the base images (image::BaseImageCount of them).
  QtImageList();

  int count() const { return static_cast<int>(icons_.size()); }
  // An empty icon for an index outside the list.
  QIcon icon(int index) const;
  // Adds an icon and returns its index.
  int append(const QIcon& icon);
  // Removes every image from `count` on.
  void trimTo(int count);

  // One base picture at the given pixel size, for tests and the legend.
  static QImage drawBase(int index, int size);

 private:
  std::vector<QIcon> icons_;
};

}  // namespace corvane
