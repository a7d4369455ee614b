#pragma once
// The look of the program's controls: the window's named colours and the few ways
// a control is dressed in them (text colour, ground colour, bold type). Controls are placed by
// pixel position, as the window lays them out.

#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace velmora::look {

inline const QColor Black(0, 0, 0);
inline const QColor White(255, 255, 255);
inline const QColor Red(255, 0, 0);
inline const QColor Lime(0, 255, 0);
inline const QColor Yellow(255, 255, 0);
inline const QColor Green(0, 128, 0);
inline const QColor Maroon(128, 0, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Aqua(0, 255, 255);

// The control's text in `colour` (the text of edits and the caption of labels and buttons).
void SetTextColour(QWidget* control, const QColor& colour);
// The ground behind the text: an edit's field, or the whole area of any other control. Buttons
// (check boxes and radio buttons among them) fill their area from the Button role, other
// controls from Window, edit fields their field from Base.
void SetGroundColour(QWidget* control, const QColor& colour);
// Both: the ground, and the text in front of it.
void SetColours(QWidget* control, const QColor& ground, const QColor& text);
void SetBold(QWidget* control);
// Bold serif type, `pointSize` points, or the control's own size when 0.
void SetBoldSerif(QWidget* control, int pointSize = 0);

// Puts a text into an edit field with its beginning in view, as a field shows text it is given:
// a long number shows its leading digits, not its last ones.
void SetFieldText(QLineEdit* field, const QString& text);

// A caption at `place` on `parent`.
QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& place);

}  // namespace velmora::look
