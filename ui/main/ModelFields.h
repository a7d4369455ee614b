#pragma once
// The main window's fields that stand for values of the model, the time step and the 18
// parameters. A field shows its value, or text typed and not yet stored; what it shows is
// stored as leaving the field stores it:
//
//   fields.Add(EditDT, [this]() -> real& { return model_.dt; }, ModelFields::Leave::Always);
//   fields.Fill();                          // every field shows its value
//   if (!fields.StorePending()) return;     // a command first stores what was typed
//
// Return in a field stores it, Escape brings back the model's value. Text that the conversion
// refuses is reported in the error box; the field keeps it, selected for correction, in a red
// frame until a value is stored or Escape is pressed. Each field's tooltip shows its whole value.

#include <QObject>
#include <functional>
#include <vector>

#include "model/Real.h"

class QLineEdit;

namespace velmora {

class ModelFields : public QObject {
  Q_OBJECT

 public:
  // Whether leaving a field that was not edited converts its text all the same (and so takes
  // the value of the shown 15-digit text), as the time step's field does.
  enum class Leave { Always, WhenEdited };
  using Value = std::function<real&()>;

  ModelFields(char separator, QObject* parent);

  void Add(QLineEdit* field, Value value, Leave leave);
  // Every value stored runs through `around`, which calls `store` (an undo entry for it).
  using Around = std::function<void(const QLineEdit* field, const std::function<void()>& store)>;
  void SetAround(Around around) { around_ = std::move(around); }
  bool Holds(const QObject* field) const;

  // Every field shows its value; nothing is pending or marked any more.
  void Fill();
  // Leaving `field`: its text is stored as the field's rule says. False when it was refused.
  bool Left(const QObject* field);
  // Every field edited and not stored, in order; false at the first refused one, whose text is
  // then reported, selected and marked.
  bool StorePending();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry {
    QLineEdit* Field;
    Value Stored;
    Leave Rule;
  };
  Entry* Find(const QObject* field);
  bool Store(Entry& entry);
  void Show(Entry& entry);
  static void Mark(QLineEdit* field, bool refused);

  char separator_;
  std::vector<Entry> entries_;
  Around around_ = [](const QLineEdit*, const std::function<void()>& store) { store(); };
};

}  // namespace velmora
