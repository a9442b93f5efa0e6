// The lookup catalogue reader: one record at a time from the start, until the table asked for.
#include "LecturaCatalogo.h"

#include <QFile>

#include "Cp1252.h"
#include "Texto.h"
#include "TkPrint2.h"

QString CampoLimpio(const QString& campo) {
    return Recorta(QuitaCaracteres(campo, QString(QChar(0)), QString(QChar(255))));
}

ConsultaCatalogo LeeConsulta(const QByteArray& registro) {
    Q_ASSERT(registro.size() == kLargoConsulta);
    return {DeCp1252(registro.mid(0, 100)), DeCp1252(registro.mid(100, 100)), DeCp1252(registro.mid(200, 500)),
            DeCp1252(registro.mid(700, 500))};
}

std::optional<ConsultaCatalogo> BuscaConsulta(const QString& ruta, const QString& tabla) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString buscada = Recorta(tabla);
    for (;;) {
        const QByteArray bytes = archivo.read(kLargoConsulta);
        if (bytes.size() < kLargoConsulta) return std::nullopt;
        ConsultaCatalogo r = LeeConsulta(bytes);
        if (IgualesTexto(CampoLimpio(r.Tabla), buscada)) return r;
    }
}
