#include "demo_templates.h"

#include "atomic_write.h"
#include "glossary_files.h"
#include "install_path.h"
#include "template_codec.h"
#include "template_file.h"
#include "user_list_store.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

void fillGroup(Glossary &glossary, int code, std::initializer_list<const char *> texts) {
  int index = 0;
  for (const char *text : texts) {
    glossary.setEntry(code, index++, text);
  }
}

SaveResult writeGlossary(const fs::path &folder, const Glossary &glossary, int width) {
  const std::string format = "# Character width of encoded templates\r\n[EncodeFormat]\r\n" +
                             std::string(width == 8 ? "8-bit" : "7-bit") + "\r\n";
  SaveResult saved =
      saveFileInFolder(folder / "PreLabels.dat", predefinedRecordsOf(glossary, EntryKind::Label));
  saved &= saveFileInFolder(folder / "PreTerms.dat",
                            predefinedRecordsOf(glossary, EntryKind::Description));
  saved &= saveFileInFolder(folder / "Labels.txt", userEntriesText(glossary, EntryKind::Label));
  saved &=
      saveFileInFolder(folder / "Terms.txt", userEntriesText(glossary, EntryKind::Description));
  saved &= saveFileInFolder(folder / "Glossary.cfg", format);
  return saved;
}

GlossaryRef labelRef(const Glossary &glossary, const char *text) {
  return glossary.findLabel(text).ref();
}

GlossaryRef descriptionRef(const Glossary &glossary, const char *text) {
  return glossary.findDescription(text).ref();
}

struct DemoLink {
  const char *label;
  std::initializer_list<const char *> descriptions;
};

LabelLinks linksOf(const Glossary &glossary, const std::vector<GlossaryRef> &labels,
                   std::initializer_list<DemoLink> demo) {
  LabelLinks links = emptyLinksFor(labels);
  for (const DemoLink &entry : demo) {
    for (LabelLink &row : links) {
      if (row.label == labelRef(glossary, entry.label)) {
        for (const char *description : entry.descriptions) {
          row.descriptions.push_back(descriptionRef(glossary, description));
        }
      }
    }
  }
  return links;
}

SaveResult writeList(UserListStore &store, const Glossary &glossary, const std::string &name,
                     std::initializer_list<const char *> labels,
                     std::initializer_list<DemoLink> links) {
  std::vector<GlossaryRef> refs;
  for (const char *label : labels) {
    refs.push_back(labelRef(glossary, label));
  }
  const CreatedList created = store.create(name);
  if (created.status == CreateListResult::Failed) {
    return created.saved;
  }
  store.setLabels(name, refs);
  SaveResult saved = store.saveAll();
  if (saved) {
    saved = store.saveLinks(name, linksOf(glossary, refs, links));
  }
  return saved;
}

SaveResult writeTemplate(const fs::path &path, const Glossary &glossary, const UserListStore &store,
                         TemplateKind kind, const std::string &list, DateOrder order,
                         std::vector<TemplateRow> rows) {
  TemplateFile file;
  file.kind = kind;
  file.listPosition = store.positionOf(list);
  file.encoded = encodeTemplate(glossary, rows, 7, order, kind).bytes;
  return saveTemplateFile(path, file);
}

} // namespace

Glossary demoEnglishGlossary() {
  Glossary g;
  fillGroup(g, 7, {"UserEdit", "Owner", "Utility", "Type", "Material", "Size", "Depth", "Del Row"});
  fillGroup(g, 8, {"Job No", "Street", "City", "Offset", "Installr", "Date", "Company", "Phone"});
  fillGroup(g, 9,
            {"Valve", "Svc Line", "Main", "Tee", "Elbow", "Cap", "Meter", "Hydrant", "Splice",
             "Pedestal", "Manhole", "Vault", "Anode", "Test Sta", "Crossing", "Stub"});
  fillGroup(g, 10,
            {"Pipe",   "Cable",   "Conduit", "Diameter", "Pressure", "Voltage", "Fiber",   "Pairs",
             "Length", "Bearing", "Lat",     "Long",     "Elev",     "Crew",    "Project", "Permit",
             "Ref No", "Tag",     "Color",   "Status",   "Side",     "Dir",     "Station", "Grade",
             "Cover",  "Coating", "Joint",   "Branch",   "Note",     "Mark",    "Zone",    "Unit"});
  fillGroup(g, 14, {"UserEdit", "Delete Row", "M/D/Y", "D/M/Y", "Yes", "No", "Unknown", "N/A"});
  fillGroup(g, 15,
            {"Gas", "Water", "Sewer", "Power", "Telephone", "CATV", "Fiber Optic", "Reclaimed"});
  fillGroup(
      g, 16,
      {"City", "County", "State", "Private", "Utility Co", "Contractor", "Developer", "Federal"});
  fillGroup(g, 17,
            {"PVC", "PE", "HDPE", "Steel", "Cast Iron", "Ductile Iron", "Copper", "Concrete",
             "Clay", "Asbestos Cem", "Fiberglass", "Galvanized", "Aluminum", "Lead", "Brass",
             "Composite"});
  fillGroup(g, 18,
            {"Gate Valve", "Ball Valve", "Butterfly", "Check Valve", "Plug Valve", "Curb Stop",
             "Service Tee", "Tapping Tee", "Reducer", "Coupling", "End Cap", "Riser", "Regulator",
             "Drip", "Blow Off", "Air Release"});
  fillGroup(g, 19,
            {"1/2 in", "3/4 in", "1 in", "1 1/4 in", "1 1/2 in", "2 in", "3 in", "4 in", "6 in",
             "8 in", "10 in", "12 in", "16 in", "20 in", "24 in", "36 in"});
  fillGroup(g, 20,
            {"North", "South", "East", "West", "Northeast", "Northwest", "Southeast", "Southwest",
             "Left", "Right", "Center", "Upstream", "Downstream", "Parallel", "Perpendicular",
             "Diagonal"});
  fillGroup(g, 21,
            {"Service Line", "Main Line", "Lateral", "Transmission", "Distribution", "Abandoned",
             "Active", "Inactive", "Proposed", "Repaired", "Replaced", "Relocated", "Temporary",
             "Permanent", "Emergency", "Inspected"});
  fillGroup(g, 22,
            {"Red", "Yellow", "Orange", "Blue", "Green", "Purple", "White", "Pink", "Brown",
             "Black", "Gray"});
  fillGroup(g, 23,
            {"Low Pressure", "Med Pressure", "High Pressure", "Gravity", "Force Main", "Storm",
             "Sanitary", "Combined"});
  fillGroup(g, 24,
            {"Direct Buried", "In Conduit", "In Casing", "Bored", "Trenched", "Plowed", "Aerial"});
  fillGroup(g, 25,
            {"Asphalt", "Concrete Slab", "Gravel", "Grass", "Sidewalk", "Driveway", "Curb",
             "Parking Lot"});
  g.setUserEntries({"Crew ID", "Site", "Route", "Segment", "Warranty", "Inspectr"},
                   {"Vandrel Gas", "Northside Wtr", "Phase 2", "Night Crew", "Leak Repair",
                    "Tie-In", "As-Built"});
  return g;
}

Glossary demoGermanGlossary() {
  Glossary g;
  fillGroup(g, 7,
            {"UserEdit", "Besitzer", "Sparte", "Typ", "Material",
             "Gr\xF6\xDF"
             "e",
             "Tiefe", "Del Row"});
  fillGroup(g, 8,
            {"Auftrag",
             "Stra\xDF"
             "e",
             "Ort", "Versatz", "Monteur", "Datum", "Firma", "Telefon"});
  fillGroup(g, 9,
            {"Ventil", "Hausansl", "Leitung",
             "T-St\xFC"
             "ck",
             "Bogen", "Kappe", "Z\xE4hler", "Hydrant"});
  fillGroup(g, 14, {"UserEdit", "Delete Row", "M/D/Y", "D/M/Y", "Ja", "Nein", "Unbekannt"});
  fillGroup(g, 15, {"Gas", "Wasser", "Abwasser", "Strom", "Telefon", "Fernw\xE4rme"});
  fillGroup(g, 17, {"PVC", "PE", "Stahl", "Gusseisen", "Kupfer", "Beton", "Steinzeug"});
  fillGroup(g, 21,
            {"Hausanschluss", "Hauptleitung", "Stillgelegt", "In Betrieb", "Geplant", "Repariert",
             "Ersetzt", "Verlegt"});
  g.setUserEntries({"Trupp", "Baustell"}, {"Stadtwerke", "Nachtschicht"});
  return g;
}

SaveResult writeDemoTemplatesData(const fs::path &workingFolder) {
  const Glossary english = demoEnglishGlossary();
  SaveResult saved =
      writeGlossary(resolveInstallPath(workingFolder, "\\Software\\Glossary\\English"), english, 7);
  saved &= writeGlossary(resolveInstallPath(workingFolder, "\\Software\\Glossary\\German"),
                         demoGermanGlossary(), 8);

  UserListStore store(english, resolveInstallPath(workingFolder, "\\FavGlossary"));
  store.load();
  saved &= writeList(
      store, english, "Gas",
      {"Owner", "Utility", "Material", "Size", "Depth", "Valve", "Svc Line", "Date", "Pressure"},
      {{"Utility", {"Gas"}},
       {"Material", {"PE", "Steel", "Cast Iron"}},
       {"Size", {"3/4 in", "1 in", "2 in", "4 in"}},
       {"Valve", {"Gate Valve", "Ball Valve", "Curb Stop"}},
       {"Svc Line", {"Service Line", "Active", "Abandoned"}},
       {"Pressure", {"Low Pressure", "Med Pressure", "High Pressure"}}});
  saved &= writeList(store, english, "Water",
                     {"Owner", "Material", "Size", "Valve", "Hydrant", "Meter", "Depth", "Date"},
                     {{"Owner", {"City", "Private"}},
                      {"Material", {"PVC", "Ductile Iron", "Copper"}},
                      {"Valve", {"Gate Valve", "Butterfly", "Check Valve"}}});
  // "All" is always there once the store is loaded.
  const UserList &all = *store.find(UserListStore::kAll);
  saved &= store.saveLinks(UserListStore::kAll,
                           linksOf(english, all.labels,
                                   {{"Utility", {"Gas", "Water", "Sewer", "Power", "Telephone"}},
                                    {"Owner", {"City", "County", "Private", "Utility Co"}}}));

  const fs::path markers = resolveInstallPath(workingFolder, "\\Templates");
  const fs::path traces = resolveInstallPath(workingFolder, "\\Templates\\Trace");
  saved &= writeTemplate(markers / "GasValve.utl", english, store, TemplateKind::Marker, "Gas",
                         DateOrder::MonthDayYear,
                         {{"Utility", "Gas"},
                          {"Valve", "Gate Valve"},
                          {"Size", "2 in"},
                          {"Depth", "42"},
                          {"Date", "061524"}});
  saved &= writeTemplate(markers / "WaterSvc.utl", english, store, TemplateKind::Marker, "Water",
                         DateOrder::DayMonthYear,
                         {{"Owner", "City"},
                          {"Svc Line", "Service Line"},
                          {"Material", "Copper"},
                          {"Job No", "20417"},
                          {"Date", "150624"}});
  saved &= writeTemplate(
      markers / "GasMain.utl", english, store, TemplateKind::Marker, "All", DateOrder::MonthDayYear,
      {{"Contract", "C-2291"}, {"Owner", "City"}, {"Material", "PE"}, {"Size", "4 in"}});
  saved &= writeTemplate(traces / "Fiber.utl", english, store, TemplateKind::Trace, "All",
                         DateOrder::MonthDayYear, {{"Utility", "Fiber Optic"}, {"Depth", "30"}});
  saved &= writeTemplate(traces / "MainRun.utl", english, store, TemplateKind::Trace, "All",
                         DateOrder::MonthDayYear,
                         {{"Utility", "Gas"},
                          {"Main", "Distribution"},
                          {"Pipe", "Steel"},
                          {"Diameter", "8 in"},
                          {"Crew ID", "Night Crew"},
                          {"Note", "Tie-In east"}});
  return saved;
}

SaveResult writeDemoReceiverTemplates(const fs::path &folder) {
  const Glossary english = demoEnglishGlossary();
  // A user template's first byte is 1: the templates of the receiver were
  // made for the first favorite user list.
  const auto write = [&english](const fs::path &path, TemplateKind kind,
                                std::vector<TemplateRow> rows) {
    TemplateFile file;
    file.kind = kind;
    file.listPosition = kind == TemplateKind::Marker ? 1 : 0;
    file.encoded = encodeTemplate(english, rows, 7, DateOrder::MonthDayYear, kind).bytes;
    return saveTemplateFile(path, file);
  };
  SaveResult saved = write(
      folder / "User" / "GasService.utl", TemplateKind::Marker,
      {{"Utility", "Gas"}, {"Svc Line", "Service Line"}, {"Size", "3/4 in"}, {"Material", "PE"}});
  saved &= write(folder / "User" / "HydrantW.utl", TemplateKind::Marker,
                 {{"Utility", "Water"}, {"Owner", "City"}, {"Material", "Ductile Iron"}});
  saved &= write(folder / "User" / "Valve12.utl", TemplateKind::Marker,
                 {{"Valve", "Gate Valve"}, {"Size", "12 in"}, {"Depth", "48"}});
  saved &= write(folder / "Trace" / "MainTrace.utl", TemplateKind::Trace,
                 {{"Utility", "Gas"}, {"Main", "Distribution"}, {"Pipe", "Steel"}});
  return saved;
}

} // namespace tarnwick
