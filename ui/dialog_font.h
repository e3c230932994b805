// The bold dialog font set on the buttons, captions and value fields of every
// dialog, and the small helpers that give controls their resource ids.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

class QWidget;
class QPushButton;
class QLabel;

namespace tarnwick::ui {

// The system sans family, 14 px, bold.
QFont boldDialogFont();

// A size in dialog units in pixels: a quarter of the average character width
// of the widget's font across, an eighth of its height down.
QSize dialogUnits(const QWidget &widget, int width, int height);

// The objectName a control with this resource id carries.
QString controlName(int resourceId);

// Names the widget after its resource id.
void setResourceId(QWidget &widget, int resourceId);

// A push button with its resource id and the bold font.
QPushButton *makeButton(QWidget *parent, int resourceId, const QString &text);

// A read-only value field with its resource id and the bold font.
QLabel *makeValueField(QWidget *parent, int resourceId, const QString &text);

} // namespace tarnwick::ui
