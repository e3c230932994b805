// Small 24-bit BMP pictures for the demo installation: the flags of the demo
// countries, drawn from plain shapes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::demo {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb &) const = default;
};

class Bitmap {
public:
  Bitmap(int width, int height, Rgb fill = {255, 255, 255});

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb pixel(int x, int y) const;
  void set(int x, int y, Rgb colour); // outside the picture: ignored
  // Fills [x0, x1) x [y0, y1), clipped.
  void fillRect(int x0, int y0, int x1, int y1, Rgb colour);
  // Fills the disc around (cx, cy) with radius r.
  void fillDisc(double cx, double cy, double r, Rgb colour);
  // Draws a frame one pixel wide along the edge.
  void frame(Rgb colour);

  // The bytes of a bottom-up 24-bit BMP file.
  std::string bmpBytes() const;

private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

// The flag of a demo country at the given size; the names are those of the
// demo's country list.
Bitmap countryFlag(std::string_view country, int width, int height);

} // namespace tarnwick::demo
