#include "form2.h"

#include <QKeyEvent>
#include <QShowEvent>

#include "program_icon.h"
#include "sharp_picture.h"
#include "ui_form2.h"

namespace sessiya {

Form2::Form2(std::function<void()> final_answer)
    : ui_(std::make_unique<Ui::Form2>()), final_answer_(std::move(final_answer)), announcer_(this) {
  ui_->setupUi(this);
  // An ordinary window of its own, owned by no other, so that the window manager raises
  // whichever window the player clicks; no minimise or maximise box.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::CustomizeWindowHint);
  setWindowIcon(programIcon());
  setFixedSize(size());
  const QString picture_path = QStringLiteral(":/dialog.jpg");
  const QImage picture(picture_path);
  ui_->Picture1->setPicture(picture,
                            readSharpPicture(picture_path, picture.size(), devicePixelRatioF()));
  connect(ui_->Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
  connect(ui_->Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
  connect(&activation_, &ProgramActivation::windowCameIn, this, [this](QWidget* window) {
    if (window == this) Form_Activate();
  });
  Form_Load();
}

Form2::~Form2() = default;

void Form2::bringUp() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

// Every show activates the dialog, even where the window system leaves the focus elsewhere.
void Form2::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    activation_.shown(this);
    Form_Activate();
  }
  QWidget::showEvent(event);
}

// Escape leaves the dialog as its close box does, which is the effect of "Не-а! Я пошутил!".
void Form2::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Form2::Form_Load() { askFirstQuestion(); }
void Form2::Form_Activate() { askFirstQuestion(); }

void Form2::askFirstQuestion() {
  h_ = 0;
  ask(QStringLiteral("Итак ответ B?"));
}

// The question is also what a screen reader says for the dialog and its "Да!" button.
void Form2::ask(const QString& question) {
  ui_->Label1->setText(question);
  setAccessibleDescription(question);
  ui_->Command1->setAccessibleDescription(question);
}

void Form2::Command1_Click() {
  if (h_ == 0) {
    ask(QStringLiteral("Вы уверены?"));
    announcer_.focus(ui_->Command1);  // the new question, said over the focus that stays
    h_ = 1;
    return;
  }
  final_answer_();
  hide();
}

void Form2::Command2_Click() { hide(); }

}  // namespace sessiya
