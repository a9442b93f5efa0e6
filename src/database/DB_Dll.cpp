// The database object: the default instance, connections, SQL values, queries, schema and error treatment.
#include "DB_Dll.h"

namespace {
std::unique_ptr<DB_Dll>& Instancia() {
    static std::unique_ptr<DB_Dll> instancia;
    return instancia;
}
}  // namespace

std::function<bool()> DB_Dll::LeeConfidencialidad = [] { return false; };

DB_Dll::DB_Dll() = default;
DB_Dll::~DB_Dll() = default;

DB_Dll& DB_Dll::Predeterminada() {
    auto& instancia = Instancia();
    if (!instancia) instancia = std::make_unique<DB_Dll>();
    return *instancia;
}

void DB_Dll::ReiniciaPredeterminada() {
    Instancia().reset();
}
