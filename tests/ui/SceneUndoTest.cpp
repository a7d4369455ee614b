// Edit > Undo and Redo over the scene: entries named in the menu, sessions and runs as one
// entry, nothing while a run goes.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>
#include <stdexcept>

#include "model/NewScene.h"
#include "sim/Stepper.h"
#include "ui/history/SceneUndo.h"

using namespace velmora;

class SceneUndoTest : public QObject {
  Q_OBJECT

 private slots:
  void entriesAreNamedInTheMenuAndRestoreTheScene();
  void aSessionIsOneEntryAndARunClosesUndo();
};

void SceneUndoTest::entriesAreNamedInTheMenuAndRestoreTheScene() {
  Model model;
  model.N = SlotCount;
  QMenu edit;
  SceneUndo undo(model, &edit, nullptr);
  QSignalSpy restored(&undo, &SceneUndo::Restored);
  QCOMPARE(undo.UndoAction()->text(), QStringLiteral("&Undo"));
  QVERIFY(!undo.UndoAction()->isEnabled() && !undo.RedoAction()->isEnabled());
  QCOMPARE(undo.UndoAction()->shortcut(), QKeySequence(QKeySequence::Undo));
  QCOMPARE(undo.RedoAction()->shortcuts().size(), 2);
  undo.Command("dt", [&] { model.dt = 0.5L; });
  undo.Command("Viewing", [] {});  // changes nothing: no entry
  QCOMPARE(undo.UndoAction()->text(), QStringLiteral("&Undo dt"));
  undo.UndoAction()->trigger();
  QVERIFY(model.dt == 0.0L);
  QCOMPARE(restored.count(), 1);
  QCOMPARE(undo.RedoAction()->text(), QStringLiteral("&Redo dt"));
  QVERIFY(!undo.UndoAction()->isEnabled() && undo.RedoAction()->isEnabled());
  undo.RedoAction()->trigger();
  QVERIFY(model.dt == 0.5L);
  // A command that fails halfway is recorded with what it changed.
  QVERIFY_THROWS_EXCEPTION(std::runtime_error, undo.Command("Zero Velocities", [&] {
    model.V[1] = 0.0L, model.X[1] = 1.0L;
    throw std::runtime_error("fault");
  }));
  QCOMPARE(undo.UndoAction()->text(), QStringLiteral("&Undo Zero Velocities"));
  undo.Clear();
  QVERIFY(!undo.UndoAction()->isEnabled());
  QVERIFY(model.X[1] == 1.0L);
}

void SceneUndoTest::aSessionIsOneEntryAndARunClosesUndo() {
  Model model = NewScene();
  model.Present[1] = true;
  model.V[1] = model.NewV[1] = 1.0L;
  model.dt = 0.25L;
  QMenu edit;
  SceneUndo undo(model, &edit, nullptr);
  undo.Command("Cool", [&] { model.V[1] = model.NewV[1] = 0.5L; });
  const SceneState start = model;
  undo.Begin();
  undo.SetRunning(true);
  Stepper stepper;
  int counter = 0;
  stepper.Step(model, {}, counter);
  undo.Command("dt", [&] { model.dt = 0.5L; });  // given during the run: part of it
  stepper.Step(model, {}, counter);
  QVERIFY(!undo.UndoAction()->isEnabled());
  undo.SetRunning(false);
  undo.End(RunEntryName(2));
  QCOMPARE(undo.UndoAction()->text(), QStringLiteral("&Undo Run of 2 Steps"));
  undo.UndoAction()->trigger();
  QVERIFY(model.Scene() == start);
  QCOMPARE(undo.UndoAction()->text(), QStringLiteral("&Undo Cool"));
  QVERIFY(undo.UndoAction()->isEnabled());
}

QTEST_MAIN(SceneUndoTest)
#include "SceneUndoTest.moc"
