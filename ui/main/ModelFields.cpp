#include "ui/main/ModelFields.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "model/ProgramError.h"
#include "ui/common/ControlLook.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/NumberFields.h"

namespace velmora {

namespace {

// A field whose text was refused: red text on white in a red frame, which stands out on the ground
// of every group, the red one included.
const QString RefusedLook = QStringLiteral(
    "QLineEdit { border: 2px solid rgb(255, 0, 0); background: white; color: rgb(255, 0, 0); }");

}  // namespace

ModelFields::ModelFields(char separator, QObject* parent) : QObject(parent), separator_(separator) {}

void ModelFields::Add(QLineEdit* field, Value value, Leave leave) {
  entries_.push_back({field, std::move(value), leave});
  field->installEventFilter(this);
  connect(field, &QLineEdit::returnPressed, this, [this, field] { Store(*Find(field)); });
}

bool ModelFields::Holds(const QObject* field) const {
  for (const Entry& entry : entries_)
    if (entry.Field == field) return true;
  return false;
}

ModelFields::Entry* ModelFields::Find(const QObject* field) {
  for (Entry& entry : entries_)
    if (entry.Field == field) return &entry;
  return nullptr;
}

void ModelFields::Fill() {
  for (Entry& entry : entries_) Show(entry);
}

bool ModelFields::Left(const QObject* field) {
  Entry* entry = Find(field);
  if (!entry || (entry->Rule == Leave::WhenEdited && !entry->Field->isModified())) return true;
  return Store(*entry);
}

bool ModelFields::StorePending() {
  for (Entry& entry : entries_)
    if (entry.Field->isModified() && !Store(entry)) return false;
  return true;
}

// The value is stored only when the whole text converts; refused text stays, reported first,
// then selected in its marked field, which takes the focus back.
bool ModelFields::Store(Entry& entry) {
  QLineEdit* field = entry.Field;
  try {
    around_(field, [&] { entry.Stored() = FieldValue(field, separator_); });
  } catch (const ConversionError& error) {
    Mark(field, true);
    ReportError(error);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
  }
  field->setModified(false);
  field->setToolTip(field->text());
  Mark(field, false);
  return true;
}

void ModelFields::Show(Entry& entry) {
  const QString text = NumberText(entry.Stored(), separator_);
  look::SetFieldText(entry.Field, text);
  entry.Field->setToolTip(text);
  Mark(entry.Field, false);
}

void ModelFields::Mark(QLineEdit* field, bool refused) {
  field->setStyleSheet(refused ? RefusedLook : QString());
}

// Escape gives up what was typed: the field shows the model's value again. The field claims the
// key before the window's Escape shortcut (which clears the picked particles) can take it.
bool ModelFields::eventFilter(QObject* watched, QEvent* event) {
  const bool escape = (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
                      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
  if (escape && event->type() == QEvent::ShortcutOverride && Find(watched)) {
    event->accept();
    return true;
  }
  if (escape) {
    if (Entry* entry = Find(watched)) {
      Show(*entry);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace velmora
