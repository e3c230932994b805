// The configuration being edited, saved and sent: the fourteen current lists,
// the selected model's default lists, the model and its frequency family,
// and the supervisor session. One per run, shared by the editor, its pages
// and the sending; the editor clears the supervisor session when it closes.
#pragma once

#include "configuration_tables.h"
#include "country_marker_mask.h"
#include "setting_list.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

class ReceiverConfiguration {
public:
  // The country marker mask for the current country: the CE file's for a
  // CE-power model. Asked at every rebuild, so a new country selection
  // counts from the next one.
  using MaskSource = std::function<CountryMarkerMask(bool cePower)>;

  explicit ReceiverConfiguration(MaskSource masks);

  // Stores the index and its family; the lists stay as they are.
  void setModel(ModelIndex index);
  ModelIndex model() const { return model_; }
  int family() const { return family_; }

  // Both list sets from the tables for the current model, the country's
  // forbidden marker types made Unavailable. Resets the current lists.
  void rebuildDefaults();

  const SettingLists &current() const { return current_; }
  void copyCurrentOut(SettingLists &lists) const { lists = current_; }
  // Per list, the first min(count) entries: the states, and the names when
  // the given entry has one. Each current list keeps its length, so a line
  // written for the model always has the model's length.
  void copyCurrentIn(const SettingLists &lists);

  // A default list; the first read after creation builds both sets.
  const SettingList &defaultList(ListId list);
  // The names of a current entry; nothing (false) out of range.
  std::optional<std::string> entryName(ListId list, int entry) const;
  bool setEntryName(ListId list, int entry, std::string name);

  // The mask applied by the last rebuild.
  const CountryMarkerMask &markerMask() const { return mask_; }

  bool supervisorSession() const { return supervisor_; }
  void setSupervisorSession(bool on) { supervisor_ = on; }

  // The password a new password file gets, and the one every login accepts.
  static std::string_view defaultPassword();
  static std::string_view masterPassword();

private:
  MaskSource masks_;
  ModelIndex model_ = kDefaultModel;
  int family_ = 0;
  SettingLists current_;
  SettingLists defaults_;
  CountryMarkerMask mask_{};
  bool rebuildPending_ = true;
  bool supervisor_ = false;
};

} // namespace tarnwick
