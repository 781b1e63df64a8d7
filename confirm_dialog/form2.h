#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "announcer.h"
#include "program_activation.h"

namespace Ui {
class Form2;
}

namespace sessiya {

// The quiz-show dialog: asks twice whether answer B is final; the second "Да!" in a row
// ends the attempt through `final_answer`.
class Form2 : public QWidget {
  Q_OBJECT

 public:
  explicit Form2(std::function<void()> final_answer);
  ~Form2() override;

  std::int16_t stage() const { return h_; }
  // Shows the dialog wherever it is, even minimised, in front and active.
  void bringUp();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Form_Load();
  void Form_Activate();
  void Command1_Click();
  void Command2_Click();
  void askFirstQuestion();
  void ask(const QString& question);

  std::unique_ptr<Ui::Form2> ui_;
  std::function<void()> final_answer_;
  std::int16_t h_ = 0;  // 0: first question on screen; 1: "Да!" given once
  ProgramActivation activation_;
  Announcer announcer_;
};

}  // namespace sessiya
