#include "tessalin_app.h"

#include <QCoreApplication>

#include "illustration_window.h"
#include "setup_window.h"
#include "start_window.h"
#include "viewer_window.h"

namespace tessalin {

TessalinApp::TessalinApp(const QString& workingFolder) : workingFolder_(workingFolder) {
  // exit(), not quit(): quit() would first ask every window to close, and
  // the viewer's closing would bring the start window back.
  endProgram_ = [] { QCoreApplication::exit(0); };
}

TessalinApp::~TessalinApp() {
  if (form2_) delete form2_.data();
}

void TessalinApp::Run() { StartWindow().show(); }

Form1& TessalinApp::StartWindow() {
  if (!form1_) form1_ = std::make_unique<Form1>(*this);
  return *form1_;
}

Form4& TessalinApp::SetupWindow() {
  if (!form4_) form4_ = std::make_unique<Form4>(*this);
  return *form4_;
}

Form3& TessalinApp::IllustrationWindow() {
  if (!form3_) form3_ = std::make_unique<Form3>();
  return *form3_;
}

Form2& TessalinApp::ViewerWindow() {
  if (!form2_) {
    form2_ = new Form2();
    connect(form2_.data(), &Form2::startWindowRequested, this, [this] { StartWindow().show(); });
  }
  return *form2_;
}

void TessalinApp::OpenSetup() {
  Form4& setup = SetupWindow();
  setup.PrepareForEntry();
  setup.show();
  StartWindow().hide();
}

void TessalinApp::OpenViewer() {
  Form2& viewer = ViewerWindow();
  viewer.prepareForShow();
  viewer.show();
  StartWindow().hide();
}

void TessalinApp::ShowIllustration() {
  Form3& illustration = IllustrationWindow();
  illustration.show();
  illustration.raise();
  illustration.activateWindow();
}

void TessalinApp::ReturnToStart(QWidget* leaving) {
  StartWindow().show();
  if (leaving) leaving->hide();
}

void TessalinApp::EndProgram() {
  if (endProgram_) endProgram_();
}

}  // namespace tessalin
