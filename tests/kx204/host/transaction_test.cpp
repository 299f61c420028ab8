// The transaction guard on a real connection: nothing survives a guard that was not committed,
// a joining guard leaves the end to the opener, and a guard never throws on its way out.
#include <gtest/gtest.h>

#include "apoyo/base_prueba.hpp"
#include "kx204/host/transaction.hpp"
#include "qivera/db/base_datos.hpp"

namespace {

using kx204::host::Transaction;

class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override { conexion_->Execute("CREATE TABLE t (Clave varchar(10) PRIMARY KEY)"); }
    long Filas() {
        auto rs = conexion_->Execute("SELECT COUNT(*) FROM t");
        const long filas = rs->Field(0).ToLong();
        rs->Close();
        return filas;
    }
    void Inserta(const char* clave) { conexion_->Execute(std::string("INSERT INTO t VALUES ('") + clave + "')"); }

    prueba::BaseDePrueba base_;
    std::unique_ptr<qivera::db::ConexionQt> conexion_ = prueba::Conecta(base_.Url());
};

TEST_F(TransactionTest, OnlyACommittedGuardKeepsItsWorkAndNoneThrowsOnItsWayOut) {
    try {
        Transaction transaccion(*conexion_);
        Inserta("a");
        throw std::runtime_error("falla a medias");
    } catch (const std::runtime_error&) {
    }
    {
        Transaction transaccion(*conexion_);
        Inserta("b");
        transaccion.Rollback();
        EXPECT_FALSE(conexion_->InTransaction());  // rolled back before anyone is told
        transaccion.Rollback();
    }
    {
        Transaction transaccion(*conexion_);
        Inserta("c");
        transaccion.Commit();
    }
    EXPECT_EQ(Filas(), 1);
    EXPECT_FALSE(conexion_->InTransaction());

    // A transaction ended under the guard, as a lost connection would end it, leaves it nothing to throw.
    auto guarda = std::make_unique<Transaction>(*conexion_);
    Inserta("d");
    conexion_->RollbackTrans();
    EXPECT_NO_THROW(guarda.reset());
    EXPECT_EQ(Filas(), 1);
}

TEST_F(TransactionTest, AJoiningGuardLeavesTheEndToWhoeverOpenedIt) {
    Transaction exterior(*conexion_);
    {
        Transaction interior(*conexion_, Transaction::Mode::JoinOrBegin);
        Inserta("a");
        interior.Commit();
    }
    try {
        Transaction interior(*conexion_, Transaction::Mode::JoinOrBegin);
        Inserta("b");
        throw std::runtime_error("falla dentro");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(conexion_->InTransaction());
    EXPECT_EQ(Filas(), 2);
    exterior.Rollback();
    EXPECT_EQ(Filas(), 0);
}

}  // namespace
