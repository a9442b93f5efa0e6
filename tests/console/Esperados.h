// What the printer must receive, written from the documents' own tables, shared by the console tests.
#pragma once

#include <vector>

#include "ControlGrabador.h"

// Every argument a text.
QList<Variant> Textos(std::initializer_list<const char*> textos);
// The 68 calls that load the invoice design, in order.
std::vector<ControlGrabador::Llamada> LlamadasDisenoFactura();
