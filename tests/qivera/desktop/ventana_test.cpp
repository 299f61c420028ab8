// The window's bindings: a person's input reaches the screen's models, and what the models
// hold is what the widgets show.
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "apoyo/notas.hpp"
#include "qivera/desktop/escritorio.hpp"
#include "registro.hpp"

namespace {

using kx204::host::ComandoBarra;
using qivera::escritorio::Escritorio;
using qivera::escritorio::Pixeles;

// The desktop on the test database, answered by a scripted person, with two pending notes.
struct Escena {
    Escena() : escritorio(*entorno.conexion, "ADMIN", "prueba", &entorno.persona) {
        prueba::PreparaCaptura(entorno);
        prueba::InsertaNota(entorno, {.folio = "A1", .subtotal = "100"});
        prueba::InsertaNota(entorno, {.folio = "A2", .subtotal = "250"});
        escritorio.sesion().fechaServidor = kx204::host::Date::FromYmd(2026, 3, 15);
        escritorio.Ventana().SetVistaPrevia(false);
        escritorio.Abre();
        escritorio.Ventana().activateWindow();
        (void)QTest::qWaitForWindowActive(&escritorio.Ventana());
    }
    kx204::frmKX204& pantalla() { return *escritorio.Ventana().Pantalla(); }
    template <class W = QWidget>
    W* widget(const char* nombre) {
        return qobject_cast<W*>(escritorio.Ventana().Lienzo()->WidgetDe(nombre));
    }
    void Pulsa(ComandoBarra comando) { escritorio.Ventana().Barra()->Accion(comando)->trigger(); }
    QWidget* Enfocado() { return escritorio.Ventana().focusWidget(); }
    // New, with the branch typed and confirmed as a clerk does.
    void Captura() {
        Pulsa(ComandoBarra::Nuevo);
        QTest::keyClicks(widget("txt_Sc_Cve_Sucursal"), "01");
        QTest::keyClick(widget("txt_Sc_Cve_Sucursal"), Qt::Key_Return);
        QTest::keyClicks(widget("txt_Al_Cve_Almancen"), "0101");
        QTest::keyClick(widget("txt_Al_Cve_Almancen"), Qt::Key_Return);
    }

    prueba::Entorno entorno;
    Escritorio escritorio;
};

class VentanaTest : public QObject {
    Q_OBJECT

private slots:
    void TypingAndEnterReachTheModelsEvents() {
        Escena escena;
        auto& pantalla = escena.pantalla();
        auto* sucursal = escena.widget<QLineEdit>("txt_Sc_Cve_Sucursal");
        QVERIFY(!sucursal->isEnabled());  // query state: only the folio takes input
        QVERIFY(escena.widget("txtFolio")->isEnabled());

        escena.Pulsa(ComandoBarra::Nuevo);
        QVERIFY(sucursal->isEnabled());
        QVERIFY(!escena.widget("txtFolio")->isEnabled());
        QTest::keyClicks(sucursal, "02");
        QCOMPARE(pantalla.txt_Sc_Cve_Sucursal.Text(), std::string("02"));
        QCOMPARE(escena.widget<QLineEdit>("txt_Sc_Descripcion")->text(), QString());  // not valid until confirmed
        QTest::keyClick(sucursal, Qt::Key_Return);
        QCOMPARE(escena.widget<QLineEdit>("txt_Sc_Descripcion")->text(), QStringLiteral("Norte"));
        QVERIFY(pantalla.Foco() != &pantalla.txt_Sc_Cve_Sucursal);  // moved on by itself
        QCOMPARE(escena.Enfocado(), escena.escritorio.Ventana().Lienzo()->WidgetDe(pantalla.Foco()->Nombre()));

        // The model's rules apply to what is typed: a key field writes upper case.
        auto* cliente = escena.widget<QLineEdit>("txt_Cl_Cve_Cliente");
        QTest::keyClicks(cliente, "c1");
        QCOMPARE(cliente->text(), QStringLiteral("C1"));
        QCOMPARE(pantalla.txt_Cl_Cve_Cliente.Text(), std::string("C1"));
        // F2 searches the field's catalog by key or name; the choice is typed and confirmed.
        auto* vendedor = escena.widget<QLineEdit>("txt_Vn_Cve_Vendedor");
        escena.entorno.persona.Responde("V1 — Vendedor uno");
        QTest::keyClick(vendedor, Qt::Key_F2);
        QCOMPARE(vendedor->text(), QStringLiteral("V1"));
        QCOMPARE(escena.widget<QLineEdit>("txt_Vn_Descripcion")->text(), QStringLiteral("Vendedor uno"));
        QCOMPARE(escena.entorno.Eventos("dialog").back()["kind"].get<std::string>(), std::string("catalogo"));

        // The date range opens with its check box; a date picked reaches the model.
        auto* inicio = escena.widget<QDateEdit>("dpFecha_Inicio");
        QVERIFY(!inicio->isEnabled());
        auto* fechas = escena.widget<QCheckBox>("chkFechas");
        QTest::mouseClick(fechas, Qt::LeftButton, {}, QPoint(8, fechas->height() / 2));
        QVERIFY(inicio->isEnabled());
        inicio->setDate(QDate(2026, 3, 2));
        QVERIFY(pantalla.dpFecha_Inicio.Value() == kx204::host::Date::FromYmd(2026, 3, 2));

        // Read-only displays are read-only widgets.
        QVERIFY(escena.widget<QLineEdit>("txt_Cl_R_F_C")->isReadOnly());
        QVERIFY(escena.widget<QLineEdit>("txtTotal")->isReadOnly());
        QVERIFY(!cliente->isReadOnly());
    }

    void ModelChangesReachTheWidgets() {
        Escena escena;
        auto& pantalla = escena.pantalla();
        escena.Captura();
        QAction* cargar = escena.escritorio.Ventana().Barra()->Accion(ComandoBarra::B1);
        QVERIFY(cargar->isVisible());
        QCOMPARE(cargar->text(), QStringLiteral("Cargar ventas"));
        QVERIFY(escena.escritorio.Ventana().Barra()->Accion(ComandoBarra::Aceptar)->isEnabled());
        QVERIFY(!escena.escritorio.Ventana().Barra()->Accion(ComandoBarra::Nuevo)->isEnabled());

        escena.Pulsa(ComandoBarra::B1);
        auto* tabla = escena.widget<QTableView>("lvNotas");
        QCOMPARE(tabla->model()->rowCount(), 2);
        auto* marcarTodos = escena.widget<QCheckBox>("chkMarcarTodos");

        // A click ticks every note in the model, the table shows the checks and the totals follow.
        QTest::mouseClick(marcarTodos, Qt::LeftButton, {}, QPoint(8, marcarTodos->height() / 2));
        QVERIFY(pantalla.lvNotas.Item(0).checked && pantalla.lvNotas.Item(1).checked);
        const QModelIndex primera = tabla->model()->index(0, 0);
        QCOMPARE(tabla->model()->data(primera, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(escena.widget<QLineEdit>("txtTotal")->text(), QString::fromStdString(pantalla.txtTotal.Text()));
        QCOMPARE(escena.widget<QLineEdit>("txtTotal")->text(), QStringLiteral("$406.0000"));
        // Unticking one in the table reaches the model and its totals.
        tabla->model()->setData(primera, Qt::Unchecked, Qt::CheckStateRole);
        QVERIFY(!pantalla.lvNotas.Item(0).checked);
        QCOMPARE(escena.widget<QLineEdit>("txtTotal")->text(), QString::fromStdString(pantalla.txtTotal.Text()));
        QVERIFY(escena.widget<QLineEdit>("txtTotal")->text() != QStringLiteral("$406.0000"));

        // Shift+F10 on the list chooses its columns, starting from those on view; the table follows.
        escena.entorno.persona.Responde("Folio|Cliente");
        QTest::keyClick(tabla, Qt::Key_F10, Qt::ShiftModifier);
        const auto args = escena.entorno.Eventos("dialog").back()["args"];
        QVERIFY(std::find(args.begin(), args.end(), "--visibles") != args.end());
        QVERIFY(!tabla->isColumnHidden(0) && !tabla->isColumnHidden(1) && tabla->isColumnHidden(2));

        // Cancel: the screen empties and disables the header, and the widgets follow.
        escena.Pulsa(ComandoBarra::Cancelar);
        QCOMPARE(tabla->model()->rowCount(), 0);
        QVERIFY(!cargar->isVisible());
        QVERIFY(escena.widget("txtFolio")->isEnabled());
        QCOMPARE(escena.widget<QLineEdit>("txt_Sc_Cve_Sucursal")->text(), QString());
    }

    void TheWidgetsTakeTheModelsLayout() {
        Escena escena;
        auto& pantalla = escena.pantalla();
        auto& ventana = escena.escritorio.Ventana();
        ventana.resize(1200, 800);
        QCoreApplication::processEvents();
        const QWidget* lienzo = ventana.Lienzo();
        const auto& tab = pantalla.ssTabQvr.Posicion();
        QCOMPARE(pantalla.Width(), qivera::escritorio::Twips(lienzo->width()));
        QCOMPARE(escena.widget("ssTabQvr")->width(), Pixeles(tab.width));
        const auto* lista = escena.widget("lvNotas");
        const auto& enModelo = pantalla.lvNotas.Posicion();
        QCOMPARE(lista->geometry(), QRect(Pixeles(enModelo.left), Pixeles(enModelo.top), Pixeles(enModelo.width),
                                          Pixeles(enModelo.height)));
    }

    void ShortcutsAndEnterAsTab() {
        Escena escena;
        auto& pantalla = escena.pantalla();
        escena.Captura();
        auto* comentario = escena.widget("txt_Comentario");
        comentario->setFocus();
        QTest::keyClick(comentario, Qt::Key_2, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(pantalla.ssTabQvr.Tab(), 0);
        QTest::keyClick(comentario, Qt::Key_2, Qt::AltModifier);
        QCOMPARE(pantalla.ssTabQvr.Tab(), 1);
        QVERIFY(!escena.widget("fr0")->isVisibleTo(&escena.escritorio.Ventana()));
        QVERIFY(escena.widget("frDetalle")->isEnabled());
        QCOMPARE(escena.escritorio.Ventana().Lienzo()->findChild<QTabBar*>()->currentIndex(), 1);

        auto* consolidar = escena.widget<QCheckBox>("chkConsolidar");
        consolidar->setFocus();
        QCOMPARE(pantalla.Foco(), &pantalla.chkConsolidar);
        QTest::keyClick(consolidar, Qt::Key_Return);
        QVERIFY(pantalla.Foco() != &pantalla.chkConsolidar);
        QVERIFY(escena.Enfocado() != consolidar);
        QVERIFY(!consolidar->isChecked());
        QTest::keyClick(escena.Enfocado(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(escena.Enfocado(), consolidar);
        QTest::keyClick(consolidar, Qt::Key_Space);
        QVERIFY(consolidar->isChecked());
        QCOMPARE(pantalla.chkConsolidar.Value(), 1);

        QTest::keyClick(consolidar, Qt::Key_1, Qt::AltModifier);
        QCOMPARE(pantalla.ssTabQvr.Tab(), 0);
        QVERIFY(escena.widget("fr0")->isVisibleTo(&escena.escritorio.Ventana()));
    }

    // A total never shows cut: a long amount gets a smaller font, and the field's own when it fits again.
    void ATotalIsNeverCut() {
        Escena escena;
        auto* total = escena.widget<QLineEdit>("txtTotal");
        const QFont propia = total->font();
        escena.pantalla().txtTotal.SetText("$987,654,321.1234");
        escena.escritorio.Ventana().Lienzo()->Sincroniza();
        QCOMPARE(total->text(), QStringLiteral("$987,654,321.1234"));
        QVERIFY(total->font().pointSizeF() < propia.pointSizeF());
        QVERIFY(total->fontMetrics().horizontalAdvance(total->text()) < total->width());
        escena.pantalla().txtTotal.SetText("$1.00");
        escena.escritorio.Ventana().Lienzo()->Sincroniza();
        QCOMPARE(total->font(), propia);
    }

    // The status bar says what happened to the mail: written to the outbox, or sent through a server.
    void TheStatusBarSaysWhereTheMailWent() {
        Escena escena;
        auto& ventana = escena.escritorio.Ventana();
        escena.escritorio.sesion().registra("mail", "F000001", "/bandeja/F000001.eml");
        QCOMPARE(ventana.statusBar()->currentMessage(),
                 QStringLiteral("Factura F000001 en bandeja de salida: /bandeja/F000001.eml"));
        escena.entorno.Variable("CORREO_SMTP_URL", "smtp://127.0.0.1:2525");
        escena.escritorio.sesion().registra("mail", "F000001", "/bandeja/F000001.eml");
        QCOMPARE(ventana.statusBar()->currentMessage(),
                 QStringLiteral("Factura F000001 enviada por correo: /bandeja/F000001.eml"));
    }
};

prueba::RegistraPrueba<VentanaTest> registro;

}  // namespace

#include "ventana_test.moc"
