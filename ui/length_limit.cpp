#include "length_limit.h"

#include "ui_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include <memory>
#include <utility>

namespace tarnwick::ui {

namespace {

class CountedLengthValidator final : public QValidator {
public:
  CountedLengthValidator(int maxLength, CountedLength counted, QObject *parent)
      : QValidator(parent), max_(maxLength), counted_(std::move(counted)) {}
  State validate(QString &input, int &) const override {
    return counted_(input) > max_ ? Invalid : Acceptable;
  }

private:
  int max_;
  CountedLength counted_;
};

} // namespace

QString charactersLeftText(const StringTable *strings, int left) {
  return DialogTexts(strings, dialog::kShared)
      .format(item::kCharactersLeft, {QString::number(left)});
}

void limitLength(QLineEdit &edit, int maxLength, std::function<void(const QString &)> shown,
                 const StringTable *strings, CountedLength counted) {
  if (!counted) {
    counted = [](const QString &text) { return static_cast<int>(text.size()); };
  }
  edit.setValidator(new CountedLengthValidator(maxLength, counted, &edit));
  auto update = [maxLength, counted, shown = std::move(shown), strings](const QString &text) {
    shown(charactersLeftText(strings, std::max(0, maxLength - counted(text))));
  };
  QObject::connect(&edit, &QLineEdit::textChanged, &edit, update);
  update(edit.text());
}

void limitLength(QLineEdit &edit, int maxLength, QLabel &counter, const StringTable *strings,
                 CountedLength counted) {
  limitLength(
      edit, maxLength, [&counter](const QString &text) { counter.setText(text); }, strings,
      std::move(counted));
}

int fileNameLength(const QString &text, const QString &ext) {
  const QString name = text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);
  // Also while the extension is being typed: ".", ".u", ...
  for (qsizetype typed = ext.size(); typed > 0; --typed) {
    if (name.endsWith(ext.left(typed), Qt::CaseInsensitive)) {
      return static_cast<int>(name.size() - typed);
    }
  }
  return static_cast<int>(name.size());
}

} // namespace tarnwick::ui
