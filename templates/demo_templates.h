// The glossary, favorite user lists and templates of the demo installation
// tree, built with the same code that reads them so their bytes are right.
#pragma once

#include "atomic_write.h"
#include "glossary.h"

#include <filesystem>

namespace tarnwick {

// An English glossary of plausible marker vocabulary (7 bits a character).
Glossary demoEnglishGlossary();
// A smaller German one (8 bits a character, Latin-1 texts).
Glossary demoGermanGlossary();

// Writes under workingFolder: "\Software\Glossary\English" and "German" with
// their four files and "Glossary.cfg"; the favorite user lists "Gas" and
// "Water" with links, and links for "All"; marker templates in "\Templates\"
// and trace templates in "\Templates\Trace\". The first file that could not
// be written fails the result.
SaveResult writeDemoTemplatesData(const std::filesystem::path &workingFolder);

// What the demo receiver holds: a few user templates in folder/"User" and
// one trace template in folder/"Trace", as ".utl" files named after the
// templates, made from the English demo glossary.
SaveResult writeDemoReceiverTemplates(const std::filesystem::path &folder);

} // namespace tarnwick
