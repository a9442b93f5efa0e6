// The maker's utility library: workstation names, the settings-file reader, the folder object, text and number
// helpers, the error dialog TrataError and the open-file dialog. Small free functions and two objects; each
// caller keeps what it creates.
#pragma once

#include <QString>
#include <optional>

#include "ErrorEjecucion.h"
#include "Numeros.h"
#include "Variant.h"

class QWidget;

// Workstation.
QString NombreMaquina();
QString UsuarioMaquina();

// Settings file: a sectioned key=value file ("[section]" lines, "key=value" lines, ";" comments), looked up in
// the folder handed to FijaCarpeta, else in the program's folder. Sections and keys ignore case; a missing
// file, section or key gives the default.
QString LeeIni(const QString& archivo, const QString& seccion, const QString& clave, const QString& predeterminado);
void FijaCarpeta(const QString& carpeta);
QString CarpetaFijada();

// Text.
QString AgregaSeparador(const QString& carpeta);  // exactly one trailing "/"
QString QuitaCaracteres(const QString& texto, const QString& c1, const QString& c2 = {}, const QString& c3 = {});
QString ReemplazaTexto(const QString& texto, const QString& buscado, const QString& reemplazo);
QString CortaTexto(const QString& texto, int largo);
int CuentaPalabras(const QString& texto);
// Without a length: the text to display (trailing blanks and NULs dropped). With a length: the text to store,
// cut to that many characters.
QString PreparaTexto(const QString& texto, std::optional<int> largo = std::nullopt);
void PreparaFormulario(QWidget* formulario, bool flag);

// A reversible scramble for values kept in settings files. It only keeps them from being read at a glance:
// it protects nothing, and anyone with this code can undo it.
QString Encripta(const QString& texto);
QString Desencripta(const QString& texto);

// Numbers and values.
Moneda ACurrency(const QString& texto);     // locale text to currency; blank gives 0; not a number raises 13
Variant ValorSeguro(const Variant& valor);  // a null comes back as an empty text, anything else unchanged

// The error dialog: shows the error and returns the button chosen (4 retry, 5 ignore, anything else give up);
// 0 when the error carries number 0. botones is a message box style, 18 (Abort/Retry/Ignore, stop icon)
// when absent.
int TrataError(const ErrorEjecucion& error, std::optional<int> botones = std::nullopt, const QString& rutina = {});

// The open-file dialog object.
class CommonDialog {
  public:
    QString DialogTitle;
    QString Filter;
    QString FileName;
    bool Cancelado = false;
    // Shows the dialog; afterwards FileName holds the choice, or Cancelado is true.
    void ShowOpen();
};
