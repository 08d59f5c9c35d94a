// The connected event sinks of one library object, and the raising of an event on them.
//
// Events are synchronous calls on every connected sink, in connection order. Arguments are
// handed to each sink as the raising code gives them, so a by-reference argument that one
// sink changes is what the next sink sees and what the raiser reads back afterwards.
// A handler may connect or disconnect sinks while an event is being raised: a sink
// disconnected during the raise is not called any more, one connected during it hears the
// next event. An exception from a sink stops the raise and reaches the raiser.
//
// Threads: an object's events run on the thread that called the member raising them.
#pragma once

#include <algorithm>
#include <vector>

namespace quimera {

template <class Sumidero>
class Emisor {
public:
    // A sink is connected once; connecting it again changes nothing.
    void Conectar(Sumidero& sumidero) {
        if (!Conectado(sumidero)) sumideros_.push_back(&sumidero);
    }
    void Desconectar(Sumidero& sumidero) { std::erase(sumideros_, &sumidero); }
    bool Conectado(const Sumidero& sumidero) const {
        return std::find(sumideros_.begin(), sumideros_.end(), &sumidero) != sumideros_.end();
    }

    // Emitir(&clsAccesoDatosEventos::AntesEditar, objRecordset, bolCancelar)
    template <class Evento, class... Argumentos>
    void Emitir(Evento evento, Argumentos&&... argumentos) const {
        const std::vector<Sumidero*> instantanea = sumideros_;
        for (Sumidero* sumidero : instantanea)
            if (Conectado(*sumidero)) (sumidero->*evento)(argumentos...);
    }

private:
    std::vector<Sumidero*> sumideros_;
};

}  // namespace quimera
