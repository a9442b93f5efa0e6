// The printer settings file: record layout, lookup and field clean-up.
#include "ArchivoImpresoras.h"

#include <QFile>

#include "Cp1252.h"
#include "ErrorEjecucion.h"
#include "Pasos.h"
#include "Proceso.h"
#include "Texto.h"
#include "TkPrint2.h"

RegistroImpresora gRegistroImpresora;

namespace {
// The fields the system reads: offset and width within the record. The rest of the record is not read.
struct Campo {
    QString RegistroImpresora::*miembro;
    int desplazamiento;
    int ancho;
};
const Campo kCampos[] = {
    {&RegistroImpresora::ClaveEstacion, 0, 254}, {&RegistroImpresora::Impresora, 254, 150},
    {&RegistroImpresora::Puerto, 554, 5},        {&RegistroImpresora::Baud, 559, 5},
    {&RegistroImpresora::Data, 564, 3},          {&RegistroImpresora::Parity, 567, 1},
};

RegistroImpresora DesdeBytes(const QByteArray& bytes) {
    RegistroImpresora r;
    for (const Campo& c : kCampos) r.*c.miembro = DeCp1252(bytes.mid(c.desplazamiento, c.ancho));
    return r;
}
}  // namespace

QString LimpiaCampo(const Variant& valor) {
    return Recorta(
        QuitaCaracteres(ValorSeguro(valor).ATexto(), QString(QChar(0)), QString(QChar(0xFF)), QString(QChar('\n'))));
}

bool LeeRegistroImpresora() {
    // Whatever fails here is passed over: a file that cannot be opened or read simply has no records.
    Pasos pasos = Pasos::OmiteFallos();
    QString ruta;
    QString clave;
    QFile archivo;
    qint64 registros = 0;
    bool encontrado = false;

    // 1. The path, and this workstation's key.
    pasos.run([&] { ruta = AgregaSeparador(proceso().CarpetaPrograma()) + QStringLiteral("Printers.Fis"); });
    pasos.run([&] { clave = Recorta(NombreMaquina() + QStringLiteral("|") + UsuarioMaquina()); });

    // 2. Open it; a missing file is created empty. An existing one is only read.
    pasos.run([&] {
        archivo.setFileName(ruta);
        const auto modo = QFile::exists(ruta) ? QIODevice::ReadOnly : QIODevice::ReadWrite;
        if (!archivo.open(modo)) Lanza(Err::PermisoDenegado, archivo.errorString());
    });
    pasos.run([&] { registros = archivo.isOpen() ? archivo.size() / kLargoRegistroImpresora : 0; });

    // 3. The first record with this key and a printer named wins.
    for (qint64 numero = 1; numero <= registros && !encontrado; ++numero) {
        pasos.run([&] {
            if (!archivo.seek((numero - 1) * kLargoRegistroImpresora)) Lanza(Err::ErrorES, archivo.errorString());
            const QByteArray bytes = archivo.read(kLargoRegistroImpresora);
            if (bytes.size() != kLargoRegistroImpresora) Lanza(Err::ErrorES, archivo.errorString());
            gRegistroImpresora = DesdeBytes(bytes);
            encontrado = IgualesTexto(LimpiaCampo(gRegistroImpresora.ClaveEstacion), clave) &&
                         !LimpiaCampo(gRegistroImpresora.Impresora).isEmpty();
        });
    }

    // 4. Close and answer.
    archivo.close();
    return encontrado;
}
