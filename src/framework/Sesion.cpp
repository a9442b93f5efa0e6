// The session object and the end of the program.
#include "Sesion.h"

#include <cstdlib>

#include "Configuracion.h"
#include "DB_Dll.h"
#include "Lib_ClsCons3.h"

namespace {
std::function<void()> gTerminar;
}

Sesion::Sesion() {
    // The synonym translation of the database object reads the session's confidentiality setting.
    DB_Dll::LeeConfidencialidad = [] { return sesion().SS_CONFIDENCIALIDAD; };
}

Sesion::~Sesion() = default;

DB_Dll& Sesion::gDB() {
    return DB_Dll::Predeterminada();
}

DB_Dll& Sesion::gDBEstadisticas() {
    if (!estadisticas_) estadisticas_ = std::make_unique<DB_Dll>();
    return *estadisticas_;
}

Lib_ClsCons3& Sesion::gConsultas() {
    if (!consultas_) consultas_ = std::make_unique<Lib_ClsCons3>([](const QString& clave) { return Cfg(clave); });
    return *consultas_;
}

void Sesion::Reinicia() {
    consultas_.reset();
    estadisticas_.reset();
    static_cast<CamposSesion&>(*this) = CamposSesion();
    DB_Dll::ReiniciaPredeterminada();
}

Sesion& sesion() {
    static Sesion s;
    return s;
}

void TerminaPrograma() {
    sesion().ProgramaTerminado = true;
    if (gTerminar)
        gTerminar();
    else
        std::exit(0);
}

void FijaTerminacion(std::function<void()> terminar) {
    gTerminar = std::move(terminar);
}
