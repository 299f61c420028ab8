// Several clerks, each with a screen and a connection of their own, press Accept at the same moment,
// round after round: on notes of their own, on notes they share, on the number their screens propose
// for one series, and on one number they all typed. Whatever the timing, no note ends on two invoices,
// no series number or folio repeats, a proposed number taken meanwhile gives way to the next free one
// (so every clerk gets an invoice, numbered one after another, and is told which number it took),
// every clerk who loses is told why, and what a loser tried leaves no trace.
#include <barrier>
#include <functional>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "apoyo/facturacion.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Filas;

namespace {

// What one clerk is to invoice in a round.
struct Encargo {
    std::vector<std::string> notas;
    std::string serie;
};

// How a clerk's Accept ended: the invoice printed, or the messages shown; and the invoice number its
// screen showed when the clerk pressed Accept.
struct Desenlace {
    std::string folio, mostrada;
    std::vector<nlohmann::ordered_json> mensajes;
};

enum class Caso { NotasPropias, NotasCompartidas, MismaSerie, NumeroTecleado };

// The tally the test holds to zero.
struct Cuenta {
    int notasEnDosFacturas = 0, numerosRepetidos = 0, numerosSaltados = 0, motivosVacios = 0, perdedoresConHuella = 0,
        avisosFaltantes = 0;
};

constexpr int kRondasPorCaso = 4;

// One clerk's workplace, living on its own thread from start to end (a connection belongs to the
// thread that opened it). Between rounds it waits at the barrier with the others and the test.
class Puesto {
public:
    Puesto(const Entorno& primero, std::barrier<>& barrera, int rondas)
        : hilo_([this, &primero, &barrera, rondas] { Trabaja(primero, barrera, rondas); }) {}
    ~Puesto() { hilo_.join(); }

    Encargo encargo;
    Desenlace desenlace;

private:
    void Trabaja(const Entorno& primero, std::barrier<>& barrera, int rondas) {
        Entorno entorno(primero, "ADMIN");
        auto& pantalla = entorno.Abre();
        for (int ronda = 0; ronda < rondas; ++ronda) {
            barrera.arrive_and_wait();  // the round's notes are in
            Captura(entorno, pantalla);
            barrera.arrive_and_wait();  // every clerk is ready: all accept at once
            const std::string mostrada = pantalla.txt_Fc_Factura.Factura();
            pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
            desenlace = {};
            desenlace.mostrada = mostrada;
            for (const auto& evento : entorno.eventos) {
                if (evento["event"] == "print") desenlace.folio = evento["folio"];
                if (evento["event"] == "message" && evento["id"] != "ERR-ID:7500001")
                    desenlace.mensajes.push_back(evento);
            }
            entorno.eventos.clear();
            barrera.arrive_and_wait();  // the test looks at the outcome
        }
    }

    void Captura(Entorno& entorno, kx204::frmKX204& pantalla) {
        pantalla.Controles.Pulsa(ComandoBarra::Cancelar);
        prueba::Captura(entorno, pantalla, encargo.notas);
        pantalla.chkConsolidar.SetValue(1);
        if (encargo.serie.empty()) return;  // the series and number the screen proposes
        // A series and number the clerk types: the one after the series' last.
        const std::string ultimo =
            Filas(entorno, "SELECT Sr_Ultimo_Numero FROM Serie WHERE Sr_Serie = '" + encargo.serie + "'");
        const long numero = std::stol(ultimo) + 1;
        pantalla.txt_Fc_Factura.SetSerie(encargo.serie);
        pantalla.txt_Fc_Factura.SetNumero(std::to_string(numero));
        pantalla.txt_Fc_Factura.SetFactura(encargo.serie + kx204::host::ConCeros(numero, 6));
    }

    std::thread hilo_;
};

class Concurrencia : public ::testing::Test {
protected:
    Concurrencia() {
        prueba::PreparaFacturacion(primero);
        for (int i = 1; i <= 8; ++i)
            primero.Sql("INSERT INTO Serie (Sc_Cve_Sucursal, Sr_Serie, Sr_Ultimo_Numero) VALUES ('01', 'S" +
                        std::to_string(i) + "', 0)");
    }

    // A pending note with an open receivable, so that consolidation pays it and takes folios.
    void NotaConCuenta(const std::string& folio) {
        prueba::InsertaNota(primero, {.folio = folio});
        primero.Sql(
            "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Cl_Cve_Cliente, Mn_Cve_Moneda, "
            "Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Saldo, Cxc_Precio_Neto_Saldo) VALUES ('R" +
            folio + "', 'VENTA', '" + folio + "', 'C1', 'MXN', 100, 16, 116)");
    }

    // Every clerk gets a note of their own; `Caso` decides what else they share.
    std::vector<Encargo> Encargos(Caso caso, int ronda, int puestos) {
        const std::string prefijo = "R" + std::to_string(ronda) + "-";
        if (caso == Caso::NotasCompartidas) NotaConCuenta(prefijo + "comun");
        std::vector<Encargo> encargos;
        for (int i = 1; i <= puestos; ++i) {
            NotaConCuenta(prefijo + std::to_string(i));
            Encargo encargo{{prefijo + std::to_string(i)},
                            caso == Caso::MismaSerie       ? ""
                            : caso == Caso::NumeroTecleado ? "A"
                                                           : "S" + std::to_string(i)};
            if (caso == Caso::NotasCompartidas) encargo.notas.push_back(prefijo + "comun");
            encargos.push_back(encargo);
        }
        return encargos;
    }

    // Checks one round's outcome against the database and adds what went wrong to the tally.
    void Revisa(Caso caso, const std::vector<std::unique_ptr<Puesto>>& puestos) {
        int ganadores = 0;
        std::set<long> numeros;
        for (const auto& puesto : puestos) {
            const Desenlace& d = puesto->desenlace;
            if (!d.folio.empty()) {
                ++ganadores;
                for (const std::string& nota : puesto->encargo.notas)
                    if (Filas(primero, "SELECT DISTINCT Fc_Folio FROM Venta WHERE Vn_Folio = '" + nota + "'") !=
                        d.folio + "\n")
                        ++cuenta.notasEnDosFacturas;
                RevisaAviso(d);
                numeros.insert(
                    std::stol(Filas(primero, "SELECT Fc_Numero FROM Factura WHERE Fc_Folio = '" + d.folio + "'")));
                continue;
            }
            ASSERT_EQ(d.mensajes.size(), 1u) << d.mensajes.size();
            const std::string prompt = d.mensajes[0]["prompt"];
            if (prompt.empty() || prompt.ends_with("\r\n")) ++cuenta.motivosVacios;
            // The reason the clerk is given is the one that stopped them, in the screen's words.
            const auto [id, motivo] = caso == Caso::NumeroTecleado
                                          ? std::pair{"ERR-ID:7500016", "de la serie A ya fue utilizado"}
                                          : std::pair{"ERR-ID:7500018", "Se encontraron ventas ya facturadas"};
            EXPECT_EQ(d.mensajes[0]["id"], id) << prompt;
            EXPECT_NE(prompt.find(motivo), std::string::npos) << prompt;
            // The loser's own note is still pending, its receivable still open.
            const std::string propia = puesto->encargo.notas.front();
            if (Filas(primero, "SELECT DISTINCT Es_Cve_Estado, Fc_Folio FROM Venta WHERE Vn_Folio = '" + propia +
                                   "'") != "AC|\n" ||
                Filas(primero, "SELECT Cxc_Precio_Neto_Saldo FROM Cuenta_x_Cobrar WHERE Cxc_Folio = 'R" + propia +
                                   "'") != "116\n")
                ++cuenta.perdedoresConHuella;
        }
        const bool todos = caso == Caso::NotasPropias || caso == Caso::MismaSerie;
        EXPECT_EQ(ganadores, todos ? static_cast<int>(puestos.size()) : 1);
        // The clerks who shared the proposed number took it and the ones after it, none left out.
        if (caso == Caso::MismaSerie &&
            (numeros.empty() || *numeros.begin() != std::stol(puestos.front()->desenlace.mostrada.substr(1)) ||
             *numeros.rbegin() - *numeros.begin() + 1 != static_cast<long>(numeros.size())))
            ++cuenta.numerosSaltados;
        facturas += ganadores;
        // Nothing but the winners' work is stored: one invoice, one receivable and its payments each.
        if (Filas(primero, "SELECT count(*) FROM Factura") != std::to_string(facturas) + "\n" ||
            Filas(primero, "SELECT count(*) FROM Cuenta_x_Cobrar WHERE Cxc_Tabla = 'FACTURA'") !=
                std::to_string(facturas) + "\n")
            ++cuenta.perdedoresConHuella;
        for (const char* repetidos :
             {"SELECT count(*) FROM (SELECT Fc_Serie, Fc_Numero FROM Factura GROUP BY Fc_Serie, Fc_Numero HAVING "
              "count(*) > 1) r",
              "SELECT count(*) FROM (SELECT Fc_Factura FROM Factura_Encabezado GROUP BY Fc_Factura HAVING count(*) > "
              "1) r",
              "SELECT count(*) FROM (SELECT Cxc_Folio FROM Pago_Cxc GROUP BY Cxc_Folio HAVING count(*) > 1) r"})
            cuenta.numerosRepetidos += std::stoi(Filas(primero, repetidos));
        // A note is invoiced by the invoice it names, and that invoice exists.
        cuenta.notasEnDosFacturas += std::stoi(
            Filas(primero,
                  "SELECT count(*) FROM Venta v WHERE v.Es_Cve_Estado = 'FA' AND NOT EXISTS (SELECT 1 FROM Factura f "
                  "WHERE f.Fc_Folio = v.Fc_Folio)"));
    }

    // A clerk whose invoice took another number than the one shown is told which; the others hear nothing.
    void RevisaAviso(const Desenlace& d) {
        const std::string factura = Filas(primero, "SELECT Fc_Factura FROM Factura WHERE Fc_Folio = '" + d.folio + "'");
        if (factura == d.mostrada + "\n") {
            if (!d.mensajes.empty()) ++cuenta.avisosFaltantes;
            return;
        }
        const std::string numero = std::to_string(std::stol(factura.substr(1)));
        if (d.mensajes.size() != 1 || !d.mensajes[0]["prompt"].get<std::string>().ends_with("el número " + numero))
            ++cuenta.avisosFaltantes;
    }

    void Juega(int cuantos) {
        std::vector<Caso> rondas;
        for (Caso caso : {Caso::NotasPropias, Caso::NotasCompartidas, Caso::MismaSerie, Caso::NumeroTecleado})
            rondas.insert(rondas.end(), kRondasPorCaso, caso);
        std::barrier<> barrera(cuantos + 1);
        std::vector<std::unique_ptr<Puesto>> puestos;
        for (int i = 0; i < cuantos; ++i)
            puestos.push_back(std::make_unique<Puesto>(primero, barrera, static_cast<int>(rondas.size())));
        for (std::size_t ronda = 0; ronda < rondas.size(); ++ronda) {
            const auto encargos = Encargos(rondas[ronda], static_cast<int>(ronda) + cuantos * 100, cuantos);
            for (int i = 0; i < cuantos; ++i) puestos[i]->encargo = encargos[i];
            barrera.arrive_and_wait();  // notes in
            barrera.arrive_and_wait();  // clerks ready, accepting
            barrera.arrive_and_wait();  // done
            Revisa(rondas[ronda], puestos);
        }
    }

    Entorno primero{"ADMIN", prueba::BaseDePrueba::Alcance::Compartida};
    Cuenta cuenta;
    int facturas = 0;
};

TEST_F(Concurrencia, TwoThenEightClerksAcceptAtTheSameMomentAndNothingIsEverTakenTwice) {
    for (int cuantos : {2, 8}) Juega(cuantos);
    EXPECT_EQ(cuenta.notasEnDosFacturas, 0);
    EXPECT_EQ(cuenta.numerosRepetidos, 0);
    EXPECT_EQ(cuenta.numerosSaltados, 0);
    EXPECT_EQ(cuenta.motivosVacios, 0);
    EXPECT_EQ(cuenta.perdedoresConHuella, 0);
    EXPECT_EQ(cuenta.avisosFaltantes, 0);
    EXPECT_EQ(facturas, (2 + 1 + 2 + 1 + 8 + 1 + 8 + 1) * kRondasPorCaso);
}

}  // namespace
