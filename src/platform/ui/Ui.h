// What the system shows the user goes through here: message boxes with the platform's styles and answers,
// the input box, modal forms, the file dialog, the application-wide mouse pointer, the screen and twips.
// The Qt implementation shows real boxes; the scripted double of the tests answers them from a queue.
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

// Message box styles: a button set plus an icon, as the platform adds them.
namespace Estilo {
constexpr int OK = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
}  // namespace Estilo

// Answers.
namespace Respuesta {
constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace Respuesta

// The application-wide mouse pointer.
enum class Puntero { Predeterminado = 0, Flecha = 1, RelojDeArena = 11 };

// The title of a box given none.
inline const QString kTituloAplicacion = QStringLiteral("Zembrino");

class Ui {
  public:
    virtual ~Ui() = default;

    // A modal message box; an empty titulo shows the application title. The first button is the default.
    virtual int MsgBox(const QString& texto, int estilo = Estilo::OK, const QString& titulo = {}) = 0;
    // An input box; returns "" when cancelled.
    virtual QString InputBox(const QString& prompt, const QString& titulo = {}, const QString& predeterminado = {}) = 0;
    // Shows a form modally and returns when it hides.
    virtual void MuestraModal(QDialog& formulario) = 0;
    // An open-file dialog; nullopt when the user cancels.
    virtual std::optional<QString> AbreArchivo(const QString& titulo, const QString& filtro) = 0;

    // Whether a form can be shown at all; where it cannot (no screen), the caller takes it as cancelled.
    virtual bool MuestraFormularios() const { return true; }

    virtual void FijaPuntero(Puntero p) = 0;
    virtual Puntero PunteroActual() const = 0;

    // The screen in pixels, and twips (1440 an inch) at the screen's logical dots per inch.
    virtual QSize Pantalla() const = 0;
    virtual double PuntosPorPulgada() const = 0;
    int Twips(int twips) const;
};

// The implementation in force; the Qt one unless a test installed another.
Ui& ui();
void InstalaUi(Ui* implementacion);  // nullptr puts the Qt implementation back
