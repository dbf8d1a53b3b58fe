#pragma once

class Interaction;
class Tdb_procedures;

// A new draw of a class replaces its whole match plan, results included. Before the draw dialog opens
// for a class that is drawn already, the operator is asked (default "Nein"), and told how many results
// would be lost. True when the draw may go on: the class has no plan yet, or the operator said yes.
bool neueAuslosungErlaubt(Tdb_procedures& db, Interaction& interaction, int kid);
