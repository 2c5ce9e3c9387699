#include "table_window_fixture.h"
#include "ui/fonts.h"

int main(int argc, char** argv) {
  return holdem::uitest::runWindowTests(argc, argv, holdem::installFontSubstitutes);
}
