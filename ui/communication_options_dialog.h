// The Communication Options dialog (resource 143): the port list and the rate
// list. Probing and opening belong to the link's CommunicationOptions; this
// dialog only shows the lists and returns the choice.
#pragma once

#include "user_port.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QComboBox;

namespace tarnwick::ui {

class CommunicationOptionsDialog final : public QDialog {
  Q_OBJECT
public:
  CommunicationOptionsDialog(const std::vector<std::string> &ports,
                             const std::vector<std::string> &rates, const std::string &selectedRate,
                             QWidget *parent = nullptr);

  // The lists' current texts.
  PortChoice choice() const;

  // Shows the dialog modally; nothing on Cancel.
  static std::optional<PortChoice> choose(const std::vector<std::string> &ports,
                                          const std::vector<std::string> &rates,
                                          const std::string &selectedRate,
                                          QWidget *parent = nullptr);

private:
  QComboBox *portList_;
  QComboBox *rateList_;
};

} // namespace tarnwick::ui
