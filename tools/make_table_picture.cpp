// Writes the felt of the table as a 24-bit BMP: make_table_picture [FILE]
// (default "texas.bmp" in the current folder).

#include <QImage>
#include <cstdio>

#include "ui/card_art.h"

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "texas.bmp";
  const QImage felt = holdem::renderTablePicture();
  if (!felt.save(QString::fromLocal8Bit(path), "BMP")) {
    std::fprintf(stderr, "make_table_picture: cannot write %s\n", path);
    return 1;
  }
  std::printf("%s: %d x %d\n", path, felt.width(), felt.height());
  return 0;
}
