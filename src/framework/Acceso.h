// The process access check: the logged operator must hold a task whose menu entry launches the running process;
// every admitted start leaves one row in the access log Control_Acceso.
#pragma once

#include <QString>

// An empty Proceso stands for the executable name. Refusal shows a box and ends the program.
void VerificaAcceso(const QString& Proceso = {});

// The canonical name of a suite program under which the menu knows it; the name itself when it has no alias.
QString ProcesoCanonico(const QString& proceso, bool* tieneAlias = nullptr);
// Whether a program runs without the check (only its access is logged).
bool ProcesoExento(const QString& proceso);
