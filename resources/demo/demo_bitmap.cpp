#include "demo_bitmap.h"

#include <algorithm>
#include <cmath>

namespace tarnwick::demo {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{200, 16, 46};
constexpr Rgb kBlue{0, 40, 104};
constexpr Rgb kGrey{120, 120, 120};

void putLe16(std::string &out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void putLe32(std::string &out, std::uint32_t value) {
  putLe16(out, value & 0xFFFF);
  putLe16(out, value >> 16);
}

void horizontalBands(Bitmap &flag, std::initializer_list<Rgb> bands) {
  const int count = static_cast<int>(bands.size());
  int i = 0;
  for (const Rgb colour : bands) {
    flag.fillRect(0, flag.height() * i / count, flag.width(), flag.height() * (i + 1) / count,
                  colour);
    ++i;
  }
}

void verticalBands(Bitmap &flag, std::initializer_list<Rgb> bands) {
  const int count = static_cast<int>(bands.size());
  int i = 0;
  for (const Rgb colour : bands) {
    flag.fillRect(flag.width() * i / count, 0, flag.width() * (i + 1) / count, flag.height(),
                  colour);
    ++i;
  }
}

void unitedStates(Bitmap &flag) {
  const int w = flag.width();
  const int h = flag.height();
  for (int stripe = 0; stripe < 13; ++stripe) {
    flag.fillRect(0, h * stripe / 13, w, h * (stripe + 1) / 13, stripe % 2 == 0 ? kRed : kWhite);
  }
  const int cantonW = w * 2 / 5;
  const int cantonH = h * 7 / 13;
  flag.fillRect(0, 0, cantonW, cantonH, {60, 59, 110});
  if (w < 40) {
    return; // stars would only blur the list image
  }
  const double r = std::max(0.8, h / 90.0);
  for (int row = 0; row < 5; ++row) {
    for (int col = 0; col < 6; ++col) {
      flag.fillDisc(cantonW * (col + 0.5) / 6, cantonH * (row + 0.5) / 5, r, kWhite);
    }
  }
}

void canada(Bitmap &flag) {
  const int w = flag.width();
  const int h = flag.height();
  flag.fillRect(0, 0, w / 4, h, kRed);
  flag.fillRect(w - w / 4, 0, w, h, kRed);
  // The leaf, reduced to a diamond on a stem.
  const double cx = w / 2.0;
  const double cy = h * 0.45;
  const double size = std::min(w / 4.0, h * 0.35);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (std::abs(x + 0.5 - cx) + std::abs(y + 0.5 - cy) <= size) {
        flag.set(x, y, kRed);
      }
    }
  }
  const int stem = std::max(1, w / 60);
  flag.fillRect(static_cast<int>(cx) - stem / 2, static_cast<int>(cy + size * 0.8),
                static_cast<int>(cx) - stem / 2 + stem, static_cast<int>(cy + size * 1.4), kRed);
}

void nordicCross(Bitmap &flag, Rgb field, Rgb cross) {
  const int w = flag.width();
  const int h = flag.height();
  flag.fillRect(0, 0, w, h, field);
  const int bar = std::max(2, h / 5);
  flag.fillRect(w * 5 / 16 - bar / 2, 0, w * 5 / 16 - bar / 2 + bar, h, cross);
  flag.fillRect(0, h / 2 - bar / 2, w, h / 2 - bar / 2 + bar, cross);
}

void japan(Bitmap &flag) {
  flag.fillDisc(flag.width() / 2.0, flag.height() / 2.0, flag.height() * 0.3, {188, 0, 45});
}

} // namespace

Bitmap::Bitmap(int width, int height, Rgb fill)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

Rgb Bitmap::pixel(int x, int y) const {
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void Bitmap::set(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    return;
  }
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = colour;
}

void Bitmap::fillRect(int x0, int y0, int x1, int y1, Rgb colour) {
  for (int y = std::max(0, y0); y < std::min(height_, y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(width_, x1); ++x) {
      set(x, y, colour);
    }
  }
}

void Bitmap::fillDisc(double cx, double cy, double r, Rgb colour) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const double dx = x + 0.5 - cx;
      const double dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= r * r) {
        set(x, y, colour);
      }
    }
  }
}

void Bitmap::frame(Rgb colour) {
  fillRect(0, 0, width_, 1, colour);
  fillRect(0, height_ - 1, width_, height_, colour);
  fillRect(0, 0, 1, height_, colour);
  fillRect(width_ - 1, 0, width_, height_, colour);
}

std::string Bitmap::bmpBytes() const {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width_) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height_);
  constexpr std::uint32_t kHeaderBytes = 14 + 40;
  std::string out;
  out.reserve(kHeaderBytes + imageBytes);
  out += "BM";
  putLe32(out, kHeaderBytes + imageBytes);
  putLe32(out, 0);
  putLe32(out, kHeaderBytes);
  putLe32(out, 40); // BITMAPINFOHEADER
  putLe32(out, static_cast<std::uint32_t>(width_));
  putLe32(out, static_cast<std::uint32_t>(height_)); // bottom-up
  putLe16(out, 1);
  putLe16(out, 24);
  putLe32(out, 0); // no compression
  putLe32(out, imageBytes);
  putLe32(out, 2835); // 72 dpi
  putLe32(out, 2835);
  putLe32(out, 0);
  putLe32(out, 0);
  for (int y = height_ - 1; y >= 0; --y) {
    std::uint32_t written = 0;
    for (int x = 0; x < width_; ++x) {
      const Rgb p = pixel(x, y);
      out.push_back(static_cast<char>(p.b));
      out.push_back(static_cast<char>(p.g));
      out.push_back(static_cast<char>(p.r));
      written += 3;
    }
    out.append(rowBytes - written, '\0');
  }
  return out;
}

Bitmap countryFlag(std::string_view country, int width, int height) {
  Bitmap flag(width, height, kWhite);
  if (country == "United States of America") {
    unitedStates(flag);
  } else if (country == "Canada") {
    canada(flag);
  } else if (country == "Germany") {
    horizontalBands(flag, {{0, 0, 0}, {221, 0, 0}, {255, 206, 0}});
  } else if (country == "France") {
    verticalBands(flag, {kBlue, kWhite, {237, 41, 57}});
  } else if (country == "Italy") {
    verticalBands(flag, {{0, 146, 70}, kWhite, {206, 43, 55}});
  } else if (country == "Sweden") {
    nordicCross(flag, {0, 106, 167}, {254, 204, 0});
  } else if (country == "Japan") {
    japan(flag);
  }
  flag.frame(kGrey);
  return flag;
}

} // namespace tarnwick::demo
