// The Communication Options dialog (resource 143): the port list and the rate
// list, the simulated receiver marked as such, and why the other ports could
// not be opened. Probing and opening belong to the link's
// CommunicationOptions; this dialog only shows the lists and returns the
// choice.
#pragma once

#include "string_table.h"
#include "user_port.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;

namespace tarnwick::ui {

class CommunicationOptionsDialog final : public QDialog {
  Q_OBJECT
public:
  // strings may be null: English texts.
  CommunicationOptionsDialog(const PortListing &listing, const StringTable *strings,
                             QWidget *parent = nullptr);
  CommunicationOptionsDialog(const std::vector<std::string> &ports,
                             const std::vector<std::string> &rates, const std::string &selectedRate,
                             QWidget *parent = nullptr);

  // The chosen port (as listed, without its note) and rate.
  PortChoice choice() const;
  // The text under the lists naming the ports that did not open; empty when
  // every candidate opened.
  QString refusedText() const;

  // Shows the dialog modally; nothing on Cancel.
  static std::optional<PortChoice> choose(const PortListing &listing, const StringTable *strings,
                                          QWidget *parent = nullptr);
  static std::optional<PortChoice> choose(const std::vector<std::string> &ports,
                                          const std::vector<std::string> &rates,
                                          const std::string &selectedRate,
                                          QWidget *parent = nullptr);

private:
  QComboBox *portList_;
  QComboBox *rateList_;
  QLabel *refused_;
};

// Why a port did not open, in the dialog's words (a language pack may
// translate them).
QString portRefusalReason(const StringTable *strings, int error);

} // namespace tarnwick::ui
