// A scratch installation tree holding the demo glossaries, user lists and
// templates, with a workspace on it.
#pragma once

#include "demo_templates.h"
#include "glossary_files.h"
#include "temp_dir.h"
#include "templates_workspace.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::testing {

struct DemoTree {
  TempDir dir;
  std::unique_ptr<TemplatesWorkspace> workspace;

  DemoTree() {
    EXPECT_TRUE(writeDemoTemplatesData(dir.path()));
    workspace = std::make_unique<TemplatesWorkspace>(dir.path());
    workspace->useEnglishGlossary();
  }

  std::vector<std::uint8_t> read(const std::string &relative) const {
    std::vector<std::uint8_t> bytes;
    readWholeFile(dir.path() / relative, bytes);
    return bytes;
  }
};

// Packs a string of '0'/'1' (spaces ignored) most significant bit first,
// then the final partial byte, as the encoder ends a template.
inline std::vector<std::uint8_t> packBits(const std::string &bits) {
  std::vector<std::uint8_t> bytes;
  unsigned partial = 0;
  int filled = 0;
  for (char c : bits) {
    if (c != '0' && c != '1') {
      continue;
    }
    partial = (partial << 1) | (c == '1' ? 1U : 0U);
    if (++filled == 8) {
      bytes.push_back(static_cast<std::uint8_t>(partial));
      partial = 0;
      filled = 0;
    }
  }
  bytes.push_back(static_cast<std::uint8_t>(partial << (8 - filled)));
  return bytes;
}

inline std::string binary(std::uint64_t value, int bits) {
  std::string text;
  for (int i = bits - 1; i >= 0; --i) {
    text += ((value >> i) & 1U) != 0 ? '1' : '0';
  }
  return text;
}

} // namespace tarnwick::testing
