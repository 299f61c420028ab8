#include "qivera/printing/pdf_factura.hpp"

#include <memory>

#include <QBuffer>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include "kx204/host/runtime_error.hpp"
#include "qivera/printing/codigo_qr.hpp"
#include "qivera/printing/importe_letra.hpp"
#include "qivera/printing/legible.hpp"
#include "qivera/printing/trazabilidad.hpp"

namespace qivera {

using kx204::host::Currency;

namespace {

constexpr long kErrorSinAplicacion = 5;  // VB's "Invalid procedure call or argument"
constexpr int kPuntosPorPulgada = 72;    // one device unit per typographic point
constexpr qreal kMargen = 36;
constexpr qreal kSeparacion = 4;

constexpr qreal kPie = 14;  // the page number's band at the foot of every page

QString Q(const std::string& texto) { return QString::fromStdString(texto); }

// A quantity without the zeros that say nothing: "3", "2.5".
QString Cantidad(double cantidad) {
    QString texto = Q(TextoCantidad(cantidad));
    while (texto.endsWith('0')) texto.chop(1);
    if (texto.endsWith('.')) texto.chop(1);
    return texto;
}

struct Columna {
    const char* titulo;
    qreal ancho;  // 0: what the others leave
    Qt::Alignment alineacion;
};
const Columna kColumnas[] = {{"Producto", 64, Qt::AlignLeft},
                             {"Concepto", 0, Qt::AlignLeft},
                             {"Cantidad", 92, Qt::AlignRight},
                             {"Precio unitario", 84, Qt::AlignRight},
                             {"Importe", 84, Qt::AlignRight}};

// What a layout depends on. The font is named by the few properties this printout varies: QFont::key()
// spelled out for every cell cost as much as laying the cell out.
struct ClaveMaqueta {
    QString familia;
    qreal puntos;
    int peso;
    qreal ancho;
    int alineacion;
    QString texto;
    bool operator==(const ClaveMaqueta&) const = default;
};

size_t qHash(const ClaveMaqueta& clave, size_t semilla = 0) {
    return qHashMulti(semilla, clave.familia, clave.puntos, clave.peso, clave.ancho, clave.alineacion, clave.texto);
}

// Text wrapped to a width, laid out once per font, width, alignment and text: an invoice repeats its
// units and its products' lots and serial numbers line after line, and shaping text is where printing
// spends its time.
class Maquetas {
public:
    explicit Maquetas(QPaintDevice& dispositivo) : dispositivo_(dispositivo) {}

    // Shared, so that a layout drawn over several pages outlives a reset of the others.
    std::shared_ptr<const QTextLayout> De(const QFont& fuente, qreal ancho, Qt::Alignment alineacion,
                                          const QString& texto) {
        const ClaveMaqueta clave{fuente.family(), fuente.pointSizeF(), fuente.weight(), ancho, int(alineacion), texto};
        // A long invoice's prices and amounts hardly repeat: start afresh rather than keep them all.
        if (maquetas_.size() >= kMaximo && !maquetas_.contains(clave)) maquetas_.clear();
        auto& maqueta = maquetas_[clave];
        if (!maqueta) maqueta = Compone(fuente, ancho, alineacion, texto);
        return maqueta;
    }

    static qreal Alto(const QTextLayout& maqueta) {
        return maqueta.text().isEmpty() ? 0 : maqueta.boundingRect().height();
    }

private:
    std::unique_ptr<QTextLayout> Compone(const QFont& fuente, qreal ancho, Qt::Alignment alineacion,
                                         const QString& texto) {
        auto maqueta =
            std::make_unique<QTextLayout>(QString(texto).replace('\n', QChar::LineSeparator), fuente, &dispositivo_);
        QTextOption opcion(alineacion);
        opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);  // a seal has no place to break
        maqueta->setTextOption(opcion);
        maqueta->setCacheEnabled(true);  // else drawing a line shapes its text a second time
        maqueta->beginLayout();
        qreal alto = 0;
        for (QTextLine linea = maqueta->createLine(); linea.isValid(); linea = maqueta->createLine()) {
            linea.setLineWidth(ancho);
            linea.setPosition(QPointF(0, alto));
            alto += linea.height();
        }
        maqueta->endLayout();
        return maqueta;
    }

    // Enough to keep, from the pass that counts the pages to the one that draws them, every cell of an
    // invoice of some three thousand lines; a layout of a cell takes little beside the PDF itself.
    static constexpr qsizetype kMaximo = 12000;
    QPaintDevice& dispositivo_;
    QHash<ClaveMaqueta, std::shared_ptr<const QTextLayout>> maquetas_;
};

// Paints one invoice page after page, moving down as it writes.
class Hoja {
public:
    Hoja(QPdfWriter& escritor, const FacturaGuardada& factura, const RepresentacionCfdi* cfdi)
        : escritor_(escritor),
          factura_(factura),
          cfdi_(cfdi),
          pintor_(&escritor),
          maquetas_(escritor),
          ancho_(escritor.width()),
          alto_(escritor.height()) {}

    // Twice: once to count the pages, so that each can say "n de m", and once to paint them.
    void Escribe(const std::string& formato) {
        Contenido(formato);
        paginas_ = pagina_;
        Contenido(formato);
    }

private:
    bool Contando() const { return paginas_ == 0; }

    void Contenido(const std::string& formato) {
        pagina_ = 1;
        y_ = 0;
        Fuente(7);
        Caja(0, ancho_, Q(formato), Qt::AlignRight);
        Encabezado();
        Cliente();
        if (cfdi_) CondicionesFiscales();
        TitulosTabla();
        if (cfdi_ && !cfdi_->periodo.empty()) {
            for (const auto& concepto : cfdi_->conceptos) Renglon(RenglonDeNota(concepto), &concepto);
        } else {
            for (std::size_t i = 0; i < factura_.renglones.size(); ++i) Renglon(factura_.renglones[i], ConceptoCfdi(i));
        }
        if (cfdi_)
            TotalesFiscales();
        else
            Totales();
        Notas();
        if (cfdi_) Certificacion();
        PieDePagina();
    }

    void Fuente(int puntos, bool negrita = false) {
        pintor_.setFont(QFont("DejaVu Sans", puntos, negrita ? QFont::Bold : QFont::Normal));
    }

    // Writes `texto` wrapped in a box `ancho` wide at (x, y_ + abajo) and answers the height it took.
    qreal Caja(qreal x, qreal ancho, const QString& texto, Qt::Alignment alineacion = Qt::AlignLeft, qreal abajo = 0) {
        const auto maqueta = maquetas_.De(pintor_.font(), ancho, alineacion, texto);
        if (!Contando()) maqueta->draw(&pintor_, QPointF(x, y_ + abajo));
        return Maquetas::Alto(*maqueta);
    }
    qreal AltoDe(qreal ancho, const QString& texto, Qt::Alignment alineacion = Qt::AlignLeft) {
        return Maquetas::Alto(*maquetas_.De(pintor_.font(), ancho, alineacion, texto));
    }
    // Writes `texto` wrapped at (x, y_) and moves below it, going on over as many pages as it needs: the
    // notes of a large invoice, or the serial numbers of one of its lines, run longer than a page.
    void Flujo(qreal x, qreal ancho, const QString& texto) {
        if (texto.isEmpty()) return;
        const auto maqueta = maquetas_.De(pintor_.font(), ancho, Qt::AlignLeft, texto);
        for (int i = 0; i < maqueta->lineCount(); ++i) {
            const QTextLine linea = maqueta->lineAt(i);
            Reserva(linea.height());
            if (!Contando()) linea.draw(&pintor_, QPointF(x, y_ - linea.y()));
            y_ += linea.height();
        }
    }
    // The height to keep together on one page: all of a block that fits on a page, else its first `parte`.
    qreal Junto(qreal alto, qreal parte) const { return alto <= alto_ - kPie - altoTitulos_ ? alto : parte; }
    qreal PrimeraLinea(qreal ancho, const QString& texto) {
        if (texto.isEmpty()) return 0;
        const auto maqueta = maquetas_.De(pintor_.font(), ancho, Qt::AlignLeft, texto);
        return maqueta->lineCount() == 0 ? 0 : maqueta->lineAt(0).height();
    }
    void Linea() {
        if (!Contando()) pintor_.drawLine(QPointF(0, y_), QPointF(ancho_, y_));
        y_ += kSeparacion;
    }
    // Starts a new page, with the table's titles again, when `alto` does not fit on this one.
    void Reserva(qreal alto) {
        if (y_ + alto <= alto_ - kPie) return;
        PieDePagina();
        if (!Contando()) escritor_.newPage();
        ++pagina_;
        y_ = 0;
        TitulosTabla();
    }
    void PieDePagina() {
        const qreal y = y_;
        const QFont fuente = pintor_.font();
        y_ = alto_ - kPie + kSeparacion;
        Fuente(7);
        Caja(0, ancho_, QStringLiteral("Página %1 de %2").arg(pagina_).arg(paginas_), Qt::AlignRight);
        pintor_.setFont(fuente);
        y_ = y;
    }

    void Encabezado() {
        y_ = 12;
        const qreal mitad = ancho_ / 2;
        const QString sucursal = Q(factura_.sucursalNombre.empty() ? factura_.sucursal : factura_.sucursalNombre);
        const QString lugar = "Sucursal " + Q(factura_.sucursal) + "\n" + Q(factura_.sucursalDireccion);
        // A CFDI names its issuer, their tax ID and regime, and the place of issue.
        const qreal izquierda = cfdi_ ? Bloque(0, mitad, Qt::AlignLeft, Q(cfdi_->emisorNombre),
                                               "RFC " + Q(cfdi_->emisorRfc) + "\nRégimen fiscal " +
                                                   Q(ConDescripcion(cfdi_->emisorRegimen)) + "\n" + sucursal + " · " +
                                                   lugar + "\nLugar de expedición " + Q(cfdi_->lugarExpedicion))
                                      : Bloque(0, mitad, Qt::AlignLeft, sucursal, lugar);
        const qreal derecha = Bloque(
            mitad, mitad, Qt::AlignRight, "Factura " + Q(factura_.factura),
            QString("Serie %1   Número %2\nFolio %3\nFecha %4\nMoneda %5")
                .arg(Q(factura_.serie))
                .arg(factura_.numero)
                .arg(Q(factura_.folio), FechaLegible(factura_.fecha.ToIso()).value_or(Q(factura_.fecha.ToDdMmYyyy())),
                     Q(factura_.moneda)));
        y_ += std::max(izquierda, derecha) + kSeparacion;
        Linea();
    }

    // A bold title over plain text, side by side with another block: answers its height, leaves y_.
    qreal Bloque(qreal x, qreal ancho, Qt::Alignment alineacion, const QString& titulo, const QString& texto) {
        Fuente(14, true);
        const qreal alto = Caja(x, ancho, titulo, alineacion);
        Fuente(9);
        return alto + Caja(x, ancho, texto, alineacion, alto);
    }

    void Cliente() {
        Fuente(9, true);
        y_ += Caja(0, ancho_, "Cliente " + Q(factura_.cliente));
        Fuente(9);
        const QString fiscal = cfdi_ ? Q(cfdi_->receptorNombre) + "\nRFC: " + Q(cfdi_->receptorRfc) +
                                           " · Régimen fiscal: " + Q(ConDescripcion(cfdi_->receptorRegimen)) +
                                           "\nDomicilio fiscal (C.P.): " + Q(cfdi_->receptorDomicilio) +
                                           " · Uso del CFDI: " + Q(ConDescripcion(cfdi_->usoCfdi))
                                     : Q(factura_.clienteNombre) + "\nRFC: " + Q(factura_.clienteRfc);
        y_ += Caja(0, ancho_, fiscal + "\n" + Q(factura_.clienteDireccion));
        y_ += kSeparacion;
        Linea();
    }

    // How the invoice is paid, and the period of a global one.
    void CondicionesFiscales() {
        Fuente(8);
        QString texto = "Forma de pago: " + Q(ConDescripcion(cfdi_->formaPago)) +
                        " · Método de pago: " + Q(ConDescripcion(cfdi_->metodoPago)) +
                        " · Moneda: " + Q(cfdi_->moneda) + " · Comprobante de ingreso, CFDI 4.0";
        if (!cfdi_->periodo.empty()) texto += "\nFactura global al público en general: " + Q(cfdi_->periodo);
        y_ += Caja(0, ancho_, texto);
        y_ += kSeparacion;
        Linea();
    }

    // The CFDI's concept of a line, when there is one.
    const RepresentacionCfdi::Claves* ConceptoCfdi(std::size_t renglon) const {
        return cfdi_ && renglon < cfdi_->conceptos.size() ? &cfdi_->conceptos[renglon] : nullptr;
    }

    // A global invoice prints its concepts, its notes, as the CFDI carries them.
    static RenglonGuardado RenglonDeNota(const RepresentacionCfdi::Claves& concepto) {
        RenglonGuardado renglon;
        renglon.producto = concepto.noIdentificacion;
        renglon.concepto = concepto.descripcion;
        renglon.cantidad1 = concepto.cantidad;
        renglon.unidad1 = concepto.unidad;
        return renglon;
    }

    static QString ClavesSat(const RepresentacionCfdi::Claves* concepto) {
        if (concepto == nullptr) return {};
        return "Clave SAT " + Q(concepto->prodServ) + " · Unidad " + Q(concepto->unidad) + " · Obj. imp. " +
               Q(concepto->objetoImp);
    }

    qreal AnchoColumna(const Columna& columna) const {
        if (columna.ancho > 0) return columna.ancho;
        qreal fijas = 0;
        for (const Columna& otra : kColumnas) fijas += otra.ancho;
        return ancho_ - fijas;
    }

    // Writes one table row, a cell per column, and moves below its tallest cell.
    void Fila(const QString (&celdas)[std::size(kColumnas)]) {
        qreal x = 0, alto = 0;
        for (std::size_t i = 0; i < std::size(kColumnas); ++i) {
            const qreal ancho = AnchoColumna(kColumnas[i]);
            alto = std::max(alto, Caja(x + 2, ancho - 4, celdas[i], kColumnas[i].alineacion));
            x += ancho;
        }
        y_ += alto;
    }

    void TitulosTabla() {
        const qreal arriba = y_;
        Fuente(8, true);
        QString titulos[std::size(kColumnas)];
        for (std::size_t i = 0; i < std::size(kColumnas); ++i) titulos[i] = kColumnas[i].titulo;
        Fila(titulos);
        Linea();
        Fuente(8);
        altoTitulos_ = y_ - arriba;
    }

    static QString Cantidades(const RenglonGuardado& r) {
        QString texto = Cantidad(r.cantidad1) + " " + Q(r.unidad1);
        if (r.cantidad2 != 0 || !r.unidad2.empty()) texto += "\n" + Cantidad(r.cantidad2) + " " + Q(r.unidad2);
        return texto;
    }

    // The concept, and under it the size and colour that tell apart lines of one product, and its SAT keys.
    static QString Concepto(const RenglonGuardado& r, const QString& claves) {
        QStringList lineas{Q(r.concepto)};
        QStringList variante;
        if (!r.talla.empty()) variante << "Talla " + Q(r.talla);
        if (!r.color.empty()) variante << "Color " + Q(r.color);
        if (!variante.isEmpty()) lineas << variante.join(QStringLiteral(" · "));
        if (!claves.isEmpty()) lineas << claves;
        return lineas.join('\n');
    }

    // The lots and serial numbers, under the concept and across the amounts.
    static QString Trazabilidad(const RenglonGuardado& r) {
        QStringList partes;
        if (!r.lotes.empty()) partes << LotesLegibles(r.lotes, r.unidad1, r.unidad2);
        if (!r.series.empty()) partes << "Series: " + SeriesLegibles(r.series);
        return partes.join("\n");
    }

    // A line of a CFDI shows the concept's price and amount before the discount, which its totals take off.
    void Renglon(const RenglonGuardado& r, const RepresentacionCfdi::Claves* concepto) {
        const QString celdas[] = {Q(r.producto), Concepto(r, ClavesSat(concepto)), Cantidades(r),
                                  DineroLegible(concepto ? concepto->valorUnitario : r.precioUnitario),
                                  DineroLegible(concepto ? concepto->importe : r.importe)};
        const QString trazabilidad = Trazabilidad(r);
        const qreal xTrazabilidad = AnchoColumna(kColumnas[0]);
        qreal alto = 0;
        for (std::size_t i = 0; i < std::size(kColumnas); ++i)
            alto = std::max(alto, AltoDe(AnchoColumna(kColumnas[i]) - 4, celdas[i], kColumnas[i].alineacion));
        const qreal anchoTrazabilidad = ancho_ - xTrazabilidad - 4;
        Fuente(7);
        const qreal altoTrazabilidad = AltoDe(anchoTrazabilidad, trazabilidad);
        const qreal primeraTrazabilidad = PrimeraLinea(anchoTrazabilidad, trazabilidad);
        Fuente(8);
        Reserva(Junto(alto + altoTrazabilidad, alto + primeraTrazabilidad));
        Fila(celdas);
        Fuente(7);
        Flujo(xTrazabilidad + 2, anchoTrazabilidad, trazabilidad);
        Fuente(8);
        y_ += kSeparacion;
    }

    void Totales() {
        struct Total {
            const char* nombre;
            Currency importe;
            bool negrita;
        };
        const Total totales[] = {{"Subtotal", factura_.subtotal, false},
                                 {"Descuento", factura_.descuento, false},
                                 {"Impuesto", factura_.impuesto, false},
                                 {"Total", factura_.total, true}};
        Reserva(std::size(totales) * 14 + kSeparacion);
        Linea();
        const qreal valor = 110, etiqueta = 90;
        for (const auto& [nombre, importe, negrita] : totales) {
            Fuente(9, negrita);
            Caja(ancho_ - valor - etiqueta, etiqueta, nombre, Qt::AlignRight);
            y_ += Caja(ancho_ - valor, valor, DineroLegible(importe), Qt::AlignRight);
        }
    }

    // The CFDI's own amounts: its taxes by rate, and the total in words.
    void TotalesFiscales() {
        std::vector<std::pair<QString, Currency>> totales{{"Subtotal", cfdi_->subtotal}};
        if (cfdi_->descuento != Currency()) totales.emplace_back("Descuento", cfdi_->descuento);
        for (const RepresentacionCfdi::Impuesto& impuesto : cfdi_->impuestos)
            if (!impuesto.exento) totales.emplace_back(Q(impuesto.nombre), impuesto.importe);
        totales.emplace_back("Total", cfdi_->total);
        const QString letra = Q(ImporteConLetra(cfdi_->total, cfdi_->moneda));
        Reserva(totales.size() * 14 + 2 * kSeparacion + 14);
        Linea();
        const qreal valor = 110, etiqueta = 120;
        for (const auto& [nombre, importe] : totales) {
            Fuente(9, nombre == "Total");
            Caja(ancho_ - valor - etiqueta, etiqueta, nombre, Qt::AlignRight);
            y_ += Caja(ancho_ - valor, valor, DineroLegible(importe), Qt::AlignRight);
        }
        Fuente(8);
        y_ += Caja(0, ancho_, letra, Qt::AlignRight);
    }

    // The stamp: the QR code to verify it, its numbers and date, the seals and the stamp's original
    // string; an unstamped CFDI says so instead.
    void Certificacion() {
        constexpr qreal kLadoQr = 96;
        Fuente(7);
        const QString datos =
            cfdi_->timbrado
                ? "Folio fiscal (UUID): " + Q(cfdi_->uuid) +
                      "\nNo. de serie del CSD del emisor: " + Q(cfdi_->noCertificado) +
                      "\nNo. de serie del certificado del SAT: " + Q(cfdi_->noCertificadoSat) +
                      "\nFecha y hora de certificación: " + Q(cfdi_->fechaTimbrado) +
                      "\nRFC del proveedor de certificación: " + Q(cfdi_->rfcProvCertif) +
                      "\nFecha de emisión: " + Q(cfdi_->fecha)
                : "CFDI SIN TIMBRAR: no tiene validez fiscal hasta que un proveedor de certificación lo timbre.\n"
                  "No. de serie del CSD del emisor: " +
                      Q(cfdi_->noCertificado) + "\nFecha de emisión: " + Q(cfdi_->fecha);
        const QString sellos = "Sello digital del CFDI:\n" + Q(cfdi_->sello) +
                               (cfdi_->timbrado ? "\nSello digital del SAT:\n" + Q(cfdi_->selloSat) +
                                                      "\nCadena original del complemento de certificación digital del "
                                                      "SAT:\n" +
                                                      Q(cfdi_->cadenaTimbre)
                                                : QString()) +
                               "\nEste documento es una representación impresa de un CFDI.";
        const qreal xDatos = cfdi_->timbrado ? kLadoQr + 8 : 0;
        Reserva(std::max(kLadoQr, AltoDe(ancho_ - xDatos, datos)) + AltoDe(ancho_, sellos) + 3 * kSeparacion);
        y_ += kSeparacion;
        Linea();
        if (cfdi_->timbrado) PintaQr(CodificaQr(cfdi_->UrlVerificacion()), kLadoQr);
        y_ += std::max(cfdi_->timbrado ? kLadoQr : 0, Caja(xDatos, ancho_ - xDatos, datos)) + kSeparacion;
        y_ += Caja(0, ancho_, sellos);
    }

    void PintaQr(const CodigoQr& qr, qreal lado) {
        if (Contando() || qr.lado == 0) return;
        const qreal modulo = lado / qr.lado;
        for (int fila = 0; fila < qr.lado; ++fila)
            for (int columna = 0; columna < qr.lado; ++columna)
                if (qr.Oscuro(fila, columna))
                    pintor_.fillRect(QRectF(columna * modulo, y_ + fila * modulo, modulo, modulo), Qt::black);
    }

    // The sale notes the invoice covers, after its totals.
    void Notas() {
        if (factura_.notas.empty()) return;
        QStringList notas;
        for (const std::string& nota : factura_.notas) notas << Q(nota);
        const QString texto = "Notas de venta: " + notas.join(QStringLiteral(", "));
        Fuente(8);
        Reserva(kSeparacion + Junto(AltoDe(ancho_, texto), PrimeraLinea(ancho_, texto)));
        y_ += kSeparacion;
        Flujo(0, ancho_, texto);
    }

    QPdfWriter& escritor_;
    const FacturaGuardada& factura_;
    const RepresentacionCfdi* cfdi_;
    QPainter pintor_;
    Maquetas maquetas_;
    qreal ancho_, alto_;
    qreal y_ = 0;
    qreal altoTitulos_ = 0;  // what the table's titles take at the top of a page
    int pagina_ = 1;
    int paginas_ = 0;  // 0 while counting them
};

}  // namespace

QByteArray PdfFactura(const FacturaGuardada& factura, const std::string& formato, const RepresentacionCfdi* cfdi) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        throw kx204::host::RuntimeError(kErrorSinAplicacion,
                                        "La impresión necesita una aplicación gráfica (QGuiApplication)");
    QByteArray pdf;
    QBuffer salida(&pdf);
    salida.open(QIODevice::WriteOnly);
    {
        QPdfWriter escritor(&salida);
        escritor.setPageSize(QPageSize(QPageSize::Letter));
        escritor.setPageMargins(QMarginsF(kMargen, kMargen, kMargen, kMargen), QPageLayout::Point);
        escritor.setResolution(kPuntosPorPulgada);
        escritor.setTitle("Factura " + Q(factura.factura) + " folio " + Q(factura.folio));
        escritor.setCreator("Qivera");
        Hoja(escritor, factura, cfdi).Escribe(formato);
    }
    return pdf;
}

}  // namespace qivera
