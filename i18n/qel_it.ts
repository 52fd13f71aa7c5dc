<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>FileFormats</name>
    <message>
        <source>Dr.Vellox settings</source>
        <translation>Dr.Vellox settings</translation>
    </message>
    <message>
        <source>Settings Files</source>
        <translation>Settings Files</translation>
    </message>
    <message>
        <source>DVB generic settings</source>
        <translation>DVB generic settings</translation>
    </message>
    <message>
        <source>Satellites and transponders</source>
        <translation>Satelliti e transponder</translation>
    </message>
    <message>
        <source>CSV files</source>
        <translation>File CSV</translation>
    </message>
    <message>
        <source>System font (1 set)</source>
        <translation>System font (1 set)</translation>
    </message>
    <message>
        <source>System font (2 set)</source>
        <translation>System font (2 set)</translation>
    </message>
    <message>
        <source>Teletext font</source>
        <translation>Teletext font</translation>
    </message>
    <message>
        <source>Import from text file</source>
        <translation>Importa da file di testo</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>File di testo</translation>
    </message>
    <message>
        <source>Channel files</source>
        <translation>File di canali</translation>
    </message>
</context>
<context>
    <name>StartupTexts</name>
    <message>
        <source>Your work path is incorrect </source>
        <translation>La directory di lavoro non esiste</translation>
    </message>
    <message>
        <source>I&apos;m happy you love QEL ... but it&apos;s already running :-)</source>
        <translation>Sono felice che QEL ti piaccia .. ma sta gia&apos; girando :-)</translation>
    </message>
</context>
<context>
    <name>Texts</name>
    <message>
        <source>Not a text file</source>
        <translation>Non è un file di testo</translation>
    </message>
    <message>
        <source>Cannot open the file</source>
        <translation>Impossibile aprire il file</translation>
    </message>
    <message>
        <source>Cannot write the file</source>
        <translation>Impossibile scrivere il file</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>File troppo grande</translation>
    </message>
    <message>
        <source>Wrong file lenght</source>
        <translation>Lunghezza file errata</translation>
    </message>
    <message>
        <source>No DVB98 settings loaded</source>
        <translation>Nessun settings DVB98 caricato</translation>
    </message>
    <message>
        <source>Too many channels for DVB 98 : no Upload/Save </source>
        <translation>Troppi canali per la DVB 98 : Upload/salvataggio non eseguito</translation>
    </message>
    <message>
        <source>Too many channels for FTA : no Upload/Save </source>
        <translation>Troppi canali per la FTA : Upload/salvataggio non eseguito</translation>
    </message>
    <message>
        <source>Unsupported file type</source>
        <translation>Tipo di file non supportato</translation>
    </message>
    <message>
        <source>Error on COM</source>
        <translation>Error on COM</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Error during download</source>
        <translation>Errore durante il download </translation>
    </message>
    <message>
        <source>Wrong checksum</source>
        <translation>Checksum errato</translation>
    </message>
    <message>
        <source>The receiver reports a wrong size of channel data</source>
        <translation>Il ricevitore indica una dimensione errata dei dati dei canali</translation>
    </message>
    <message>
        <source>Transfer cancelled</source>
        <translation>Trasferimento annullato</translation>
    </message>
    <message>
        <source>No channels loaded</source>
        <translation>Nessun canale caricato</translation>
    </message>
    <message>
        <source>Error during upload</source>
        <translation>Errore durante l&apos;upload </translation>
    </message>
    <message>
        <source>Timeout</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>Error during upload </source>
        <translation>Errore durante l&apos; upload </translation>
    </message>
    <message>
        <source>The receiver&apos;s flash is incomplete: write the image again</source>
        <translation>La flash del ricevitore è incompleta: scrivi di nuovo l&apos;immagine</translation>
    </message>
    <message>
        <source>The receiver does not hold what was sent</source>
        <translation>Il ricevitore non contiene ciò che è stato inviato</translation>
    </message>
    <message>
        <source>Wrong lenght in row </source>
        <translation>Lunghezza errata nella riga </translation>
    </message>
    <message>
        <source>Not a valid value in row </source>
        <translation>Valore non valido nella riga </translation>
    </message>
    <message>
        <source>DiSEqC port not 1-4 in row </source>
        <translation>Porta DiSEqC diversa da 1-4 nella riga </translation>
    </message>
    <message>
        <source>Character above 255 in row </source>
        <translation>Carattere oltre 255 nella riga </translation>
    </message>
    <message>
        <source>Unknown column in row </source>
        <translation>Colonna sconosciuta nella riga </translation>
    </message>
    <message>
        <source>Missing column in row </source>
        <translation>Colonna mancante nella riga </translation>
    </message>
    <message>
        <source>Wrong number of fields in row </source>
        <translation>Numero di campi errato nella riga </translation>
    </message>
    <message>
        <source>Wrong field width in row </source>
        <translation>Larghezza del campo errata nella riga </translation>
    </message>
    <message>
        <source>List not TV or RADIO in row </source>
        <translation>Lista diversa da TV o RADIO nella riga </translation>
    </message>
    <message>
        <source>Wrong quotes in row </source>
        <translation>Virgolette errate nella riga </translation>
    </message>
    <message>
        <source>Wrong lenght</source>
        <translation>Wrong lenght</translation>
    </message>
    <message>
        <source>No font loaded</source>
        <translation>Nessun font caricato</translation>
    </message>
    <message>
        <source>File must be a 280x240 - 16 colours bitmap</source>
        <translation>File deve essere una bitmap 280x240 - 16 colori</translation>
    </message>
    <message>
        <source>The flash routine &quot;rodflash.sbr&quot; was not found. Looked in:</source>
        <translation>La routine di flash &quot;rodflash.sbr&quot; non è stata trovata. Cercata in:</translation>
    </message>
    <message>
        <source>The firmware file is empty</source>
        <translation>Il file del firmware è vuoto</translation>
    </message>
    <message>
        <source>CrC error</source>
        <translation>CrC error</translation>
    </message>
    <message>
        <source>Decompressing error </source>
        <translation>Decompressing error </translation>
    </message>
    <message>
        <source>Programming  error</source>
        <translation>Programming  error</translation>
    </message>
    <message>
        <source>The upgrade was stopped: the receiver&apos;s firmware may now be incomplete. Repeat the upgrade before switching the receiver off.</source>
        <translation>L&apos;aggiornamento è stato interrotto: il firmware del ricevitore ora potrebbe essere incompleto. Ripetere l&apos;aggiornamento prima di spegnere il ricevitore.</translation>
    </message>
    <message>
        <source>No permission to use the serial port</source>
        <translation>Nessun permesso per usare la porta seriale</translation>
    </message>
    <message>
        <source>Cannot save: the symbolic link leads to no file</source>
        <translation>Impossibile salvare: il collegamento simbolico non porta a nessun file</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>Spazio esaurito sul dispositivo</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permesso negato</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>Operazione non permessa</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>File system in sola lettura</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Quota del disco superata</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Errore di input/output</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>File o directory non esistente</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>Non è una directory</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>È una directory</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>Nome del file troppo lungo</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Troppi livelli di collegamenti simbolici</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Troppi file aperti</translation>
    </message>
    <message>
        <source>Too many open files in system</source>
        <translation>Troppi file aperti nel sistema</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Dispositivo o risorsa occupata</translation>
    </message>
    <message>
        <source>Text file busy</source>
        <translation>File di testo occupato</translation>
    </message>
    <message>
        <source>No channels in the file</source>
        <translation>Nessun canale nel file</translation>
    </message>
    <message>
        <source>The image is damaged</source>
        <translation>L&apos;immagine è danneggiata</translation>
    </message>
    <message>
        <source>The image is larger than Qt&apos;s image readers decode</source>
        <translation>L&apos;immagine è più grande di quanto i lettori di immagini di Qt decodificano</translation>
    </message>
    <message>
        <source>The file is not a satellites.xml the program can read</source>
        <translation>Il file non è un satellites.xml che il programma sa leggere</translation>
    </message>
    <message>
        <source>The satellites.xml holds declarations or nesting the program refuses</source>
        <translation>Il satellites.xml contiene dichiarazioni o annidamenti che il programma rifiuta</translation>
    </message>
</context>
<context>
    <name>qel::AboutBox</name>
    <message>
        <source>Settings editor for DVB satellite receivers</source>
        <translation>Editor delle impostazioni per ricevitori satellitari DVB</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versione</translation>
    </message>
    <message>
        <source>Click to continue</source>
        <translation>Clicca per continuare</translation>
    </message>
</context>
<context>
    <name>qel::BufferWindow</name>
    <message>
        <source>Move marked channels to list</source>
        <translation>Sposta i canali marcati nella lista</translation>
    </message>
    <message>
        <source>Copy marked channels to list</source>
        <translation>Copia i canali marcati nella lista</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Ordina per nome</translation>
    </message>
    <message>
        <source>Sort channels by name</source>
        <translation>Ordina i canali per nome</translation>
    </message>
    <message>
        <source>Sort by freq.</source>
        <translation>Ordina per freq.</translation>
    </message>
    <message>
        <source>Sort channels by frequency</source>
        <translation>Ordina i canali per frequenza</translation>
    </message>
    <message>
        <source>Motorized</source>
        <translation>Motorizzati</translation>
    </message>
    <message>
        <source>Sort by name as  Low-Hor / Low-Ver / Hi-Hor / Hi-Ver</source>
        <translation>Ordina per nome e  Low-Hor / Low-Ver / Hi-Hor / Hi-Ver</translation>
    </message>
    <message>
        <source>Clear buffer</source>
        <translation>Svuota il  buffer</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Cancella</translation>
    </message>
    <message>
        <source>Are you sure to clear the buffer ?</source>
        <translation> Procedo all&apos; azzeramento dei dati del buffer ?</translation>
    </message>
</context>
<context>
    <name>qel::ChannelDataWindow</name>
    <message>
        <source>Only text between brackets will be visible</source>
        <translation>Solo il testo tra parentesi quadre sara&apos; visibile</translation>
    </message>
    <message>
        <source>Save Channel &amp;data</source>
        <translation>Salva i &amp;dati del canale</translation>
    </message>
</context>
<context>
    <name>qel::CheckController</name>
    <message>
        <source>Satellites files (*.xml);;All files (*)</source>
        <translation>File dei satelliti (*.xml);;Tutti i file (*)</translation>
    </message>
    <message>
        <source>DiSEqC port %1</source>
        <translation>Porta DiSEqC %1</translation>
    </message>
    <message>
        <source>Antenna %1</source>
        <translation>Antenna %1</translation>
    </message>
    <message>
        <source>%1 channel(s) keep their FEC: the receiver has no code for the one in the file.</source>
        <translation>%1 canale/i mantengono il FEC: il ricevitore non ha un codice per quello del file.</translation>
    </message>
    <message>
        <source>Nothing to take over: no channel differs from its transponder in %1 only in symbol rate or FEC.</source>
        <translation>Niente da acquisire: nessun canale differisce dal suo transponder in %1 solo per symbol rate o FEC.</translation>
    </message>
    <message>
        <source>%1 channel(s) take the symbol rate or FEC of their transponder in %2.</source>
        <translation>%1 canale/i prendono il symbol rate o il FEC del loro transponder in %2.</translation>
    </message>
    <message>
        <source>Take them over?</source>
        <translation>Li acquisisco?</translation>
    </message>
    <message>
        <source>Choose the satellite of antenna %1 first.</source>
        <translation>Scegli prima il satellite dell'antenna %1.</translation>
    </message>
    <message>
        <source>The image cannot hold the transponders of %1: %2 of %3 fit.</source>
        <translation>L'immagine non può contenere i transponder di %1: ne entrano %2 su %3.</translation>
    </message>
    <message>
        <source>Antenna %1 now has the transponders of %2: %3 channel(s) refreshed, %4 transponder entries added, %5 earlier ones dropped.</source>
        <translation>L'antenna %1 ha ora i transponder di %2: %3 canale/i aggiornati, %4 voci di transponder aggiunte, %5 precedenti tolte.</translation>
    </message>
    <message>
        <source>English</source>
        <comment>the language of the list check&apos;s messages</comment>
        <translation>Italiano</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avviso</translation>
    </message>
    <message>
        <source>The check finds %1 error(s) in the lists that the receiver cannot take.
The first: %2, row %3 &quot;%4&quot;: %5

%6</source>
        <translation>Il controllo trova %1 errore/i nelle liste che il ricevitore non accetta.
Il primo: %2, riga %3 &quot;%4&quot;: %5

%6</translation>
    </message>
    <message>
        <source>Save the list all the same?</source>
        <translation>Salvare comunque la lista?</translation>
    </message>
    <message>
        <source>Start the upload all the same?</source>
        <translation>Avviare comunque l&apos;upload?</translation>
    </message>
</context>
<context>
    <name>qel::CheckWindow</name>
    <message>
        <source>&amp;Satellites.xml</source>
        <translation>&amp;Satellites.xml</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Apr&amp;i...</translation>
    </message>
    <message>
        <source>No satellites.xml chosen.</source>
        <translation>Nessun satellites.xml scelto.</translation>
    </message>
    <message>
        <source>%1: %2 satellite(s), %3 transponder(s)</source>
        <translation>%1: %2 satellite/i, %3 transponder</translation>
    </message>
    <message>
        <source>(not checked)</source>
        <translation>(non controllato)</translation>
    </message>
    <message>
        <source>Against a satellites.xml</source>
        <translation>Confronto con un satellites.xml</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canali</translation>
    </message>
    <message>
        <source>Satellite</source>
        <translation>Satellite</translation>
    </message>
    <message>
        <source>&amp;Take over symbol rates and FEC</source>
        <translation>&amp;Acquisisci symbol rate e FEC</translation>
    </message>
    <message>
        <source>&amp;Fill the antenna's transponders</source>
        <translation>Riempi i &amp;transponder dell'antenna</translation>
    </message>
    <message>
        <source>Nothing found: the lists are ready for the receiver.</source>
        <translation>Nessun problema trovato: le liste sono pronte per il ricevitore.</translation>
    </message>
    <message>
        <source>Nothing to check: the lists hold no channels.</source>
        <translation>Niente da controllare: le liste non contengono canali.</translation>
    </message>
    <message>
        <source>%1 error(s), %2 warning(s)</source>
        <translation>%1 errore/i, %2 avviso/i</translation>
    </message>
    <message>
        <source>QEL - Check list</source>
        <translation>QEL - Controllo lista</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Livello</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>Riga</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Campo</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Messaggio</translation>
    </message>
    <message>
        <source>&amp;Remove duplicates</source>
        <translation>&amp;Rimuovi i doppioni</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Chiudi</translation>
    </message>
</context>
<context>
    <name>qel::CloseGuard</name>
    <message>
        <source>The changes in this window are not saved. Close it anyway?</source>
        <translation>Le modifiche in questa finestra non sono salvate. La chiudo comunque?</translation>
    </message>
</context>
<context>
    <name>qel::CompareController</name>
    <message>
        <source>the list before the download</source>
        <translation>la lista prima del download</translation>
    </message>
    <message>
        <source>the list as loaded</source>
        <translation>la lista come caricata</translation>
    </message>
    <message>
        <source>the list as downloaded</source>
        <translation>la lista come scaricata</translation>
    </message>
</context>
<context>
    <name>qel::CompareWindow</name>
    <message>
        <source>QEL - Compare with %1</source>
        <translation>QEL - Confronto con %1</translation>
    </message>
    <message>
        <source>Only in the list before the download (%1)</source>
        <translation>Solo nella lista prima del download (%1)</translation>
    </message>
    <message>
        <source>No differences: the lists hold the same channels in the same places.</source>
        <translation>Nessuna differenza: le liste hanno gli stessi canali negli stessi posti.</translation>
    </message>
    <message>
        <source>Differences: %1</source>
        <translation>Differenze: %1</translation>
    </message>
    <message>
        <source>Only in the loaded list (%1)</source>
        <translation>Solo nella lista caricata (%1)</translation>
    </message>
    <message>
        <source>Only in %1 (%2)</source>
        <translation>Solo in %1 (%2)</translation>
    </message>
    <message>
        <source>Only in the list now (%1)</source>
        <translation>Solo nella lista attuale (%1)</translation>
    </message>
    <message>
        <source>Only in the list as loaded (%1)</source>
        <translation>Solo nella lista come caricata (%1)</translation>
    </message>
    <message>
        <source>Only in the list as downloaded (%1)</source>
        <translation>Solo nella lista come scaricata (%1)</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Attuale</translation>
    </message>
    <message>
        <source>As loaded</source>
        <translation>Come caricata</translation>
    </message>
    <message>
        <source>As downloaded</source>
        <translation>Come scaricata</translation>
    </message>
    <message>
        <source>Changed (%1)</source>
        <translation>Modificati (%1)</translation>
    </message>
    <message>
        <source>Moved (%1)</source>
        <translation>Spostati (%1)</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>Riga</translation>
    </message>
    <message>
        <source>Row in the other</source>
        <translation>Riga nell&apos;altro</translation>
    </message>
    <message>
        <source>Name / field</source>
        <translation>Nome / campo</translation>
    </message>
    <message>
        <source>Loaded list</source>
        <translation>Lista caricata</translation>
    </message>
    <message>
        <source>Put into buffer</source>
        <translation>Metti nel buffer</translation>
    </message>
    <message>
        <source>Take over the changes</source>
        <translation>Acquisisci le modifiche</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Only in the list</source>
        <translation>Solo nella lista</translation>
    </message>
    <message>
        <source>Only in the other</source>
        <translation>Solo nell&apos;altro</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Modificato</translation>
    </message>
    <message>
        <source>Moved</source>
        <translation>Spostato</translation>
    </message>
</context>
<context>
    <name>qel::Dvb98MoreSettingsWindow</name>
    <message>
        <source>QEL - More DVB98 settings</source>
        <translation>QEL - Altre impostazioni DVB98</translation>
    </message>
    <message>
        <source> Scart sockets </source>
        <translation> Prese scart </translation>
    </message>
    <message>
        <source> LNB control </source>
        <translation> Controllo LNB </translation>
    </message>
    <message>
        <source>Satellite receiver switching</source>
        <translation>Commutazione del ricevitore</translation>
    </message>
    <message>
        <source>Video recorder switching</source>
        <translation>Commutazione del videoregistratore</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorita&apos;</translation>
    </message>
    <message>
        <source>RGB output</source>
        <translation>Uscita RGB</translation>
    </message>
    <message>
        <source>LNB voltage control</source>
        <translation>Controllo della tensione LNB</translation>
    </message>
    <message>
        <source>LNB voltage boost</source>
        <translation>Aumento della tensione LNB</translation>
    </message>
    <message>
        <source>LNB supply on</source>
        <translation>Alimentazione LNB accesa</translation>
    </message>
    <message>
        <source>Warn of an LNB short circuit</source>
        <translation>Avviso di cortocircuito LNB</translation>
    </message>
    <message>
        <source>DiSEqC address (2 hex digits)</source>
        <translation>Indirizzo DiSEqC (2 cifre esadecimali)</translation>
    </message>
    <message>
        <source>LNB settings apply</source>
        <translation>Impostazioni LNB valide</translation>
    </message>
    <message>
        <source>C band LNB</source>
        <translation>LNB banda C</translation>
    </message>
    <message>
        <source>Control bit 0</source>
        <translation>Bit di controllo 0</translation>
    </message>
    <message>
        <source>22 kHz tone</source>
        <translation>Tono a 22 kHz</translation>
    </message>
    <message>
        <source>Control bit 1</source>
        <translation>Bit di controllo 1</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Indietro</translation>
    </message>
</context>
<context>
    <name>qel::Dvb98SettingsWindow</name>
    <message>
        <source>QEL - DVB98 settings</source>
        <translation>QEL - Impostazioni DVB98</translation>
    </message>
    <message>
        <source> LNB and switching </source>
        <translation> LNB e commutazione </translation>
    </message>
    <message>
        <source> Receiver and display </source>
        <translation> Ricevitore e display </translation>
    </message>
    <message>
        <source>LNB 1, low band oscillator (MHz)</source>
        <translation>LNB 1, oscillatore banda bassa (MHz)</translation>
    </message>
    <message>
        <source>LNB 1, high band oscillator (MHz)</source>
        <translation>LNB 1, oscillatore banda alta (MHz)</translation>
    </message>
    <message>
        <source>LNB 1, band switch frequency (MHz)</source>
        <translation>LNB 1, frequenza di cambio banda (MHz)</translation>
    </message>
    <message>
        <source>LNB 2, low band oscillator (MHz)</source>
        <translation>LNB 2, oscillatore banda bassa (MHz)</translation>
    </message>
    <message>
        <source>LNB 2, high band oscillator (MHz)</source>
        <translation>LNB 2, oscillatore banda alta (MHz)</translation>
    </message>
    <message>
        <source>LNB 3, low band oscillator (MHz)</source>
        <translation>LNB 3, oscillatore banda bassa (MHz)</translation>
    </message>
    <message>
        <source>LNB 3, high band oscillator (MHz)</source>
        <translation>LNB 3, oscillatore banda alta (MHz)</translation>
    </message>
    <message>
        <source>LNB 2, band switch frequency (MHz)</source>
        <translation>LNB 2, frequenza di cambio banda (MHz)</translation>
    </message>
    <message>
        <source>LNB 3, band switch frequency (MHz)</source>
        <translation>LNB 3, frequenza di cambio banda (MHz)</translation>
    </message>
    <message>
        <source>C band LNB oscillator (MHz)</source>
        <translation>Oscillatore LNB banda C (MHz)</translation>
    </message>
    <message>
        <source>LNBs switched by</source>
        <translation>LNB commutati con</translation>
    </message>
    <message>
        <source>LNB 1 voltage follows</source>
        <translation>La tensione dell&apos;LNB 1 segue</translation>
    </message>
    <message>
        <source>LNB 2 voltage follows</source>
        <translation>La tensione dell&apos;LNB 2 segue</translation>
    </message>
    <message>
        <source>LNB 3 voltage follows</source>
        <translation>La tensione dell&apos;LNB 3 segue</translation>
    </message>
    <message>
        <source>LNB 4 voltage follows</source>
        <translation>La tensione dell&apos;LNB 4 segue</translation>
    </message>
    <message>
        <source>Serial port speed (baud)</source>
        <translation>Velocita&apos; della porta seriale (baud)</translation>
    </message>
    <message>
        <source>TV channel at power-on</source>
        <translation>Canale TV all&apos;accensione</translation>
    </message>
    <message>
        <source>Radio channel at power-on</source>
        <translation>Canale radio all&apos;accensione</translation>
    </message>
    <message>
        <source>Channel list scrolling mode</source>
        <translation>Scorrimento della lista canali</translation>
    </message>
    <message>
        <source>&amp;Num in Browser</source>
        <translation>&amp;Numeri nella lista canali</translation>
    </message>
    <message>
        <source>&amp;Time offset</source>
        <translation>&amp;Fuso orario</translation>
    </message>
    <message>
        <source>Programme information on screen</source>
        <translation>Informazioni sul programma a video</translation>
    </message>
    <message>
        <source>Start-up picture</source>
        <translation>Immagine di avvio</translation>
    </message>
    <message>
        <source>Front display shows</source>
        <translation>Il display frontale mostra</translation>
    </message>
    <message>
        <source>Front display brightness, on</source>
        <translation>Luminosita&apos; del display, acceso</translation>
    </message>
    <message>
        <source>Front display brightness, standby</source>
        <translation>Luminosita&apos; del display, in standby</translation>
    </message>
    <message>
        <source>C&amp;AM Active</source>
        <translation>C&amp;AM attiva</translation>
    </message>
    <message>
        <source>SCSI &amp;Detect</source>
        <translation>Rilevamento &amp;SCSI</translation>
    </message>
    <message>
        <source>SCSI ID of the receiver</source>
        <translation>ID SCSI del ricevitore</translation>
    </message>
    <message>
        <source>Parental lock code (4 hex digits)</source>
        <translation>Codice del blocco genitori (4 cifre esadecimali)</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Colori</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Altro</translation>
    </message>
    <message>
        <source>Save settings</source>
        <translation>Salva impostazioni</translation>
    </message>
</context>
<context>
    <name>qel::EditingController</name>
    <message>
        <source>Are you sure to delete marked channels ?</source>
        <translation> Procedo alla cancellazione dei canali marcati ?</translation>
    </message>
    <message>
        <source>Channel not found</source>
        <translation>Canale non trovato</translation>
    </message>
</context>
<context>
    <name>qel::ExportController</name>
    <message>
        <source>QEL - Version </source>
        <translation>QEL - Versione </translation>
    </message>
    <message>
        <source>TELEVISION CHANNELS</source>
        <translation>CANALI TELEVISIVI  </translation>
    </message>
    <message>
        <source>RADIO CHANNELS    </source>
        <translation>CANALI RADIOFONICI</translation>
    </message>
    <message>
        <source>Values for Network Id, Transponder Id, Service Id, PIDs and Acq.Bandwith are in hexadecimal format</source>
        <translation>I valori di Network Id, Transponder Id, Service Id, PIDs e  Acq.Bandwith sono in formato esadecimale</translation>
    </message>
    <message>
        <source>All values are in decimal format</source>
        <translation>Tutti i valori sono in formato decimale</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Page</source>
        <comment>before the page number on printed pages</comment>
        <translation>Pagina</translation>
    </message>
</context>
<context>
    <name>qel::ExportWindow</name>
    <message>
        <source>Export as file </source>
        <translation>Esporta sul file </translation>
    </message>
    <message>
        <source>The file %1 already exists.
Replace it ?</source>
        <translation>Il file %1 esiste già.
Lo sostituisco ?</translation>
    </message>
    <message>
        <source>Export completed</source>
        <translation>Esportazione su file completata</translation>
    </message>
    <message>
        <source> Format </source>
        <translation> Formato </translation>
    </message>
    <message>
        <source>Intested </source>
        <translation>Con intestazione</translation>
    </message>
    <message>
        <source>Not intested</source>
        <translation>Senza intestazione</translation>
    </message>
    <message>
        <source>Import compatible</source>
        <translation>Import compatibile </translation>
    </message>
    <message>
        <source> Page layout </source>
        <translation> Disposizione di stampa </translation>
    </message>
    <message>
        <source>No           Name        Id&apos;s         Ant         Freq.       Pol.       S/R      FEC       Pids     Acbw</source>
        <translation>No           Nome        Id&apos;s         Ant         Freq.       Pol.       S/R      FEC       Pids     Acbw</translation>
    </message>
    <message>
        <source>   QEL -  Setting file : xxxxxxx      XX/XX/XX           Page x of x</source>
        <translation>   QEL -  Setting file : xxxxxxx      XX/XX/XX         Pagina x di x</translation>
    </message>
    <message>
        <source>In &amp;UTF-8 (an accented letter takes two bytes)</source>
        <translation>In &amp;UTF-8 (una lettera accentata occupa due byte)</translation>
    </message>
    <message>
        <source>Choose &amp;file...</source>
        <translation>Scegli &amp;file...</translation>
    </message>
    <message>
        <source>QEL - Export</source>
        <translation>QEL - Esporta</translation>
    </message>
</context>
<context>
    <name>qel::FileController</name>
    <message>
        <source>Save correction to </source>
        <translation>Salvo le correzioni su </translation>
    </message>
    <message>
        <source> ? </source>
        <translation> ? </translation>
    </message>
    <message>
        <source>No channels to save</source>
        <translation>Nessun canale da salvare</translation>
    </message>
    <message>
        <source>Not with BIN  files</source>
        <translation>Non con file BIN</translation>
    </message>
    <message>
        <source>No settings to save</source>
        <translation>Nessuna impostazione da salvare</translation>
    </message>
    <message>
        <source>Default settings will be used , proceed ??</source>
        <translation>Verranno usati setting di default  , procedi ??</translation>
    </message>
    <message>
        <source>Exported on </source>
        <translation>Esportato su </translation>
    </message>
    <message>
        <source>&lt;AntPos.txt&gt; does not exist: rebuilt with default values</source>
        <translation>&lt;AntPos.txt&gt; non esiste : ricostruisco con valori di default</translation>
    </message>
    <message>
        <source>Channels </source>
        <translation>Canali </translation>
    </message>
    <message>
        <source>Settings </source>
        <translation>Impostazioni </translation>
    </message>
    <message>
        <source>not saved , continue anyway ?</source>
        <translation>da salvare , esco dal programma ?</translation>
    </message>
    <message>
        <source>Connection in progress..</source>
        <translation>Connessione in corso..</translation>
    </message>
    <message>
        <source>Wrong lenght in row %1</source>
        <translation>La riga %1 ha lunghezza errata</translation>
    </message>
    <message>
        <source>Export completed</source>
        <translation>Esportazione su file completata</translation>
    </message>
</context>
<context>
    <name>qel::FindDialog</name>
    <message>
        <source>QEL -  Find channel</source>
        <translation>QEL -  Trova il canale</translation>
    </message>
    <message>
        <source>Search for </source>
        <translation>Cerca  </translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Trova</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>qel::FontController</name>
    <message>
        <source>Save correction to </source>
        <translation>Salvo le correzioni su </translation>
    </message>
    <message>
        <source> ? </source>
        <translation> ? </translation>
    </message>
    <message>
        <source>No fonts to save</source>
        <translation>Nessun font da salvare</translation>
    </message>
</context>
<context>
    <name>qel::FontWindow</name>
    <message>
        <source>Font type is SYSTEM</source>
        <translation>Il font e&apos; del tipo SISTEMA </translation>
    </message>
    <message>
        <source>Font type is TELETEXT</source>
        <translation>Il font e&apos; del tipo TELETEXT</translation>
    </message>
    <message>
        <source>Save Char</source>
        <translation>Salva Carattere</translation>
    </message>
    <message>
        <source>Save font</source>
        <translation>Salva il font</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>1st</source>
        <translation>1°</translation>
    </message>
    <message>
        <source>2nd</source>
        <translation>2°</translation>
    </message>
    <message>
        <source>Current char position is </source>
        <translation>La posizione del carattere e&apos; </translation>
    </message>
    <message>
        <source>of</source>
        <translation>del</translation>
    </message>
    <message>
        <source>QEL - Fonts</source>
        <translation>QEL - Font</translation>
    </message>
</context>
<context>
    <name>qel::FtaSettingsWindow</name>
    <message>
        <source>QEL - FTA settings</source>
        <translation>QEL - Impostazioni FTA</translation>
    </message>
    <message>
        <source> Antenna </source>
        <translation> Antenna </translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Numero</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>LNB low (MHz)</source>
        <translation>LNB basso (MHz)</translation>
    </message>
    <message>
        <source>LNB high (MHz)</source>
        <translation>LNB alto (MHz)</translation>
    </message>
    <message>
        <source> 0/12 V switch </source>
        <translation> Commutatore 0/12 V </translation>
    </message>
    <message>
        <source> LOF </source>
        <translation> LOF </translation>
    </message>
    <message>
        <source> Screen format </source>
        <translation> Formato dello schermo </translation>
    </message>
    <message>
        <source> Picture </source>
        <translation> Immagine </translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Intera</translation>
    </message>
    <message>
        <source>Letterbox</source>
        <translation>Bande nere</translation>
    </message>
    <message>
        <source> Secret code </source>
        <translation> Codice segreto </translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salva</translation>
    </message>
    <message>
        <source>Inactive</source>
        <translation>Inattivo</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Nessuno</translation>
    </message>
</context>
<context>
    <name>qel::HelpViewer</name>
    <message>
        <source>QEL help</source>
        <translation>Guida di QEL</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Indice</translation>
    </message>
</context>
<context>
    <name>qel::ListController</name>
    <message>
        <source>  STAB rotor position is </source>
        <translation>  La posizione sul rotore STAB e&apos; </translation>
    </message>
</context>
<context>
    <name>qel::MainWindow</name>
    <message>
        <source>Order like…</source>
        <translation>Ordina come…</translation>
    </message>
    <message>
        <source>No file loaded</source>
        <translation>Nessun file caricato</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Dati</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settaggi</translation>
    </message>
    <message>
        <source>Fonts</source>
        <translation>Fonts</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Seriale</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Esporta</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opzioni</translation>
    </message>
    <message>
        <source>Click for menu</source>
        <translation>Click per il menu&apos;</translation>
    </message>
    <message>
        <source>Show/hide data row</source>
        <translation>Mostra/nasconde la riga dei dati</translation>
    </message>
    <message>
        <source>Right click for editing menu</source>
        <translation>Tasto destro per il menu di editing</translation>
    </message>
    <message>
        <source>Change viewing list</source>
        <translation>Cambia lista visualizzata</translation>
    </message>
    <message>
        <source>TV CHANNELS</source>
        <translation>CANALI TV</translation>
    </message>
    <message>
        <source>RADIO CHANNELS</source>
        <translation>CANALI RADIO</translation>
    </message>
    <message>
        <source>Load channels</source>
        <translation>Carica canali</translation>
    </message>
    <message>
        <source>Save channels</source>
        <translation>Salva canali</translation>
    </message>
    <message>
        <source>Load settings</source>
        <translation>Carica impostazioni</translation>
    </message>
    <message>
        <source>Save settings</source>
        <translation>Salva impostazioni</translation>
    </message>
    <message>
        <source>Load fonts</source>
        <translation>Carica font  </translation>
    </message>
    <message>
        <source>Save fonts</source>
        <translation>Salva font</translation>
    </message>
    <message>
        <source>Import form text file</source>
        <translation>Importa da file di testo</translation>
    </message>
    <message>
        <source>Upgrade from file</source>
        <translation>Aggiorna da file</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>E&amp;sci</translation>
    </message>
    <message>
        <source>&amp;Serial functions</source>
        <translation>&amp;Funzioni seriali</translation>
    </message>
    <message>
        <source>Se&amp;ttings</source>
        <translation>Se&amp;ttaggi</translation>
    </message>
    <message>
        <source>F&amp;onts</source>
        <translation>F&amp;onts</translation>
    </message>
    <message>
        <source>&amp;Option</source>
        <translation>&amp;Opzioni</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Informazioni</translation>
    </message>
    <message>
        <source>STAB rotor Position</source>
        <translation>Posizione sul rotore STAB</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Cerca</translation>
    </message>
    <message>
        <source>Recent files</source>
        <translation>File recenti</translation>
    </message>
    <message>
        <source>&amp;Antenna</source>
        <translation>&amp;Antenna</translation>
    </message>
    <message>
        <source>Antenna %1</source>
        <translation>Antenna %1</translation>
    </message>
    <message>
        <source>&amp;12V</source>
        <translation>&amp;12V</translation>
    </message>
    <message>
        <source>&amp;Diseqc</source>
        <translation>&amp;Diseqc</translation>
    </message>
    <message>
        <source>&amp;Spectrum inversion</source>
        <translation>Inversione di &amp;spettro</translation>
    </message>
    <message>
        <source>&amp;Parental Control</source>
        <translation>Controllo &amp;parentale</translation>
    </message>
    <message>
        <source>&amp;AutoPmt</source>
        <translation>Pmt &amp;automatico</translation>
    </message>
    <message>
        <source>A&amp;utoPid</source>
        <translation>Pid a&amp;utomatico</translation>
    </message>
    <message>
        <source>&amp;On</source>
        <translation>&amp;Acceso</translation>
    </message>
    <message>
        <source>O&amp;ff</source>
        <translation>&amp;Spento</translation>
    </message>
    <message>
        <source>&amp;Auto</source>
        <translation>A&amp;utomatico</translation>
    </message>
    <message>
        <source>Lnb Port &amp;%1</source>
        <translation>Porta Lnb &amp;%1</translation>
    </message>
    <message>
        <source>Import CSV</source>
        <translation>Importa CSV</translation>
    </message>
    <message>
        <source>Export as CSV</source>
        <translation>Esporta come CSV</translation>
    </message>
    <message>
        <source>&amp;Convert to  bin</source>
        <translation>&amp;Converti in  bin</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Trova</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Trova &amp;prossimo</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annulla</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ripeti</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Esporta</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aiuto</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edita</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Inserisci</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Cancella</translation>
    </message>
    <message>
        <source>&amp;Move to buffer</source>
        <translation>&amp;Muovi nel buffer</translation>
    </message>
    <message>
        <source>&amp;Paste all from buffer</source>
        <translation>&amp;Incolla tutto il buffer</translation>
    </message>
    <message>
        <source>Paste &amp;Special</source>
        <translation>Incolla &amp;Speciale</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>S&amp;ort...</source>
        <translation>&amp;Ordina...</translation>
    </message>
    <message>
        <source>Compare with file...</source>
        <translation>Confronta con file...</translation>
    </message>
    <message>
        <source>Compare with the list before the download</source>
        <translation>Confronta con la lista prima del download</translation>
    </message>
    <message>
        <source>Changes since loading</source>
        <translation>Modifiche dal caricamento</translation>
    </message>
    <message>
        <source>Changes since the download</source>
        <translation>Modifiche dal download</translation>
    </message>
    <message>
        <source>Check &amp;list</source>
        <translation>Contro&amp;lla lista</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Stampa...</translation>
    </message>
    <message>
        <source>Export as PDF...</source>
        <translation>Esporta come PDF...</translation>
    </message>
</context>
<context>
    <name>qel::OptionsWindow</name>
    <message>
        <source> Miscellaneous </source>
        <translation> Varie </translation>
    </message>
    <message>
        <source> Working Directory </source>
        <translation> Directory di lavoro </translation>
    </message>
    <message>
        <source>&amp;Info box on at boot</source>
        <translation>&amp;Info box on alla partenza</translation>
    </message>
    <message>
        <source>&amp;Remember export layout</source>
        <translation>&amp;Ricorda layout di stampa </translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Lingua</translation>
    </message>
    <message>
        <source>&amp;Comunication port</source>
        <translation>&amp;Porta seriale</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salva</translation>
    </message>
    <message>
        <source>QEL - Options</source>
        <translation>QEL - Opzioni</translation>
    </message>
    <message>
        <source>&amp;Backup before upload</source>
        <translation>&amp;Copia di sicurezza prima dell&apos;upload</translation>
    </message>
    <message>
        <source>&amp;Verify after upload</source>
        <translation>&amp;Verifica dopo l&apos;upload</translation>
    </message>
    <message>
        <source>As&amp;k before saving or uploading lists with errors</source>
        <translation>C&amp;hiedi prima di salvare o inviare liste con errori</translation>
    </message>
</context>
<context>
    <name>qel::OsdColorWindow</name>
    <message>
        <source>QEL - Colours</source>
        <translation>QEL - Colori</translation>
    </message>
    <message>
        <source> Chose </source>
        <translation> Scelta </translation>
    </message>
    <message>
        <source> Change color in </source>
        <translation> Cambia colore in </translation>
    </message>
    <message>
        <source> Trasparency </source>
        <translation> Trasparenza </translation>
    </message>
    <message>
        <source> Actual </source>
        <translation> Attuale </translation>
    </message>
    <message>
        <source>More colours...</source>
        <translation>Altri colori...</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Indietro</translation>
    </message>
</context>
<context>
    <name>qel::OsdColors</name>
    <message>
        <source>Menu External Box</source>
        <translation>Riquadro esterno del menu</translation>
    </message>
    <message>
        <source>Menu Text</source>
        <translation>Testo del menu</translation>
    </message>
    <message>
        <source>Menu Background</source>
        <translation>Sfondo del menu</translation>
    </message>
    <message>
        <source>Channel text</source>
        <translation>Testo del canale</translation>
    </message>
    <message>
        <source>Channel background</source>
        <translation>Sfondo del canale</translation>
    </message>
    <message>
        <source>TV short info text</source>
        <translation>Testo delle informazioni brevi TV</translation>
    </message>
    <message>
        <source>TV short info background</source>
        <translation>Sfondo delle informazioni brevi TV</translation>
    </message>
    <message>
        <source>Radio short info text</source>
        <translation>Testo delle informazioni brevi radio</translation>
    </message>
    <message>
        <source>Radio short info background</source>
        <translation>Sfondo delle informazioni brevi radio</translation>
    </message>
    <message>
        <source>Subtitle background</source>
        <translation>Sfondo dei sottotitoli</translation>
    </message>
    <message>
        <source>EPG heading</source>
        <translation>Intestazione della guida EPG</translation>
    </message>
    <message>
        <source>EPG text</source>
        <translation>Testo della guida EPG</translation>
    </message>
    <message>
        <source>EPG background</source>
        <translation>Sfondo della guida EPG</translation>
    </message>
</context>
<context>
    <name>qel::PictureDialog</name>
    <message>
        <source>Boot picture</source>
        <translation>Immagine di avvio</translation>
    </message>
    <message>
        <source>Your picture</source>
        <translation>La tua immagine</translation>
    </message>
    <message>
        <source>The bitmap goes up as it is (280 x 240, 16 colours)</source>
        <translation>La bitmap viene inviata così com&apos;è (280 x 240, 16 colori)</translation>
    </message>
    <message>
        <source>What the receiver shows (280 x 240, 16 colours)</source>
        <translation>Ciò che mostra il ricevitore (280 x 240, 16 colori)</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Invia</translation>
    </message>
    <message>
        <source>Save bitmap...</source>
        <translation>Salva bitmap...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Bitmaps (*.bmp)</source>
        <translation>Bitmap (*.bmp)</translation>
    </message>
</context>
<context>
    <name>qel::PrintCommands</name>
    <message>
        <source>QEL - Print preview</source>
        <translation>QEL - Anteprima di stampa</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>Documenti PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Export completed</source>
        <translation>Esportazione su file completata</translation>
    </message>
</context>
<context>
    <name>qel::RestoreDialog</name>
    <message>
        <source>Damaged: %1</source>
        <translation>Danneggiato: %1</translation>
    </message>
    <message>
        <source>no DVB98 settings</source>
        <translation>impostazioni non DVB98</translation>
    </message>
    <message>
        <source>Channels only</source>
        <translation>Solo canali</translation>
    </message>
    <message>
        <source>Settings only</source>
        <translation>Solo impostazioni</translation>
    </message>
    <message>
        <source>Restore a backup</source>
        <translation>Ripristina un backup</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Nota</translation>
    </message>
    <message>
        <source>No backups in %1.</source>
        <translation>Nessun backup in %1.</translation>
    </message>
    <message>
        <source>The receiver&apos;s channels and settings, as they were kept before each upload, newest first:</source>
        <translation>I canali e le impostazioni del ricevitore, come sono stati conservati prima di ogni upload, dal più recente:</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Ripristina</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>qel::RotorDialog</name>
    <message>
        <source>QEL -  STAB Rotor settings</source>
        <translation>QEL -  Serttaggi per il rotore STAB</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Imposta</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
</context>
<context>
    <name>qel::SerialController</name>
    <message>
        <source>Default settings will be used , proceed ??</source>
        <translation>Verranno usati setting di default  , procedi ??</translation>
    </message>
    <message>
        <source>Channels not saved , continue anyway ?</source>
        <translation>Canali non salvati , proseguo ?</translation>
    </message>
    <message>
        <source>Settings not saved , continue anyway ?</source>
        <translation>Impostazioni non salvate , proseguo ?</translation>
    </message>
    <message>
        <source>Unplug Vandu main power</source>
        <translation>Togli corrente al Vandu</translation>
    </message>
    <message>
        <source>What the receiver holds now could not be saved before the upload.
Upload anyway ?</source>
        <translation>Non è stato possibile salvare ciò che il ricevitore contiene ora prima dell&apos;upload.
Invio comunque ?</translation>
    </message>
    <message>
        <source>The image went up, but %1 of the 48 blocks got no answer from the receiver.
If the receiver does not work with the new lists, repeat the upload.</source>
        <translation>L&apos;immagine è stata inviata, ma il ricevitore non ha risposto a %1 dei 48 blocchi.
Se il ricevitore non funziona con le nuove liste, ripeti l&apos;upload.</translation>
    </message>
    <message>
        <source>The upload stopped part-way: the receiver&apos;s flash is now incomplete and must be written again.</source>
        <translation>L&apos;upload si è interrotto a metà: la flash del ricevitore ora è incompleta e va scritta di nuovo.</translation>
    </message>
    <message>
        <source>The first channel that differs: %1</source>
        <translation>Il primo canale diverso: %1</translation>
    </message>
    <message>
        <source>The first byte that differs: %1</source>
        <translation>Il primo byte diverso: %1</translation>
    </message>
    <message>
        <source>It could not be read back.</source>
        <translation>Non è stato possibile rileggerlo.</translation>
    </message>
    <message>
        <source>Firmware upgrade completed</source>
        <translation>Aggiornamento del firmware completato</translation>
    </message>
    <message>
        <source>QEL may not open %1: the port belongs to the group &quot;%2&quot;. Add your user to that group (sudo adduser %3 %2), then log out and in again.</source>
        <translation>QEL non può aprire %1: la porta appartiene al gruppo &quot;%2&quot;. Aggiungi il tuo utente a quel gruppo (sudo adduser %3 %2), poi esci e rientra nella sessione.</translation>
    </message>
    <message>
        <source>%1 cannot be opened (%2). Check the port in Options.</source>
        <translation>Impossibile aprire %1 (%2). Controlla la porta in Opzioni.</translation>
    </message>
    <message>
        <source>Waiting for the receiver to finish sending...</source>
        <translation>Attendo che il ricevitore finisca di trasmettere...</translation>
    </message>
    <message>
        <source>The receiver does not answer on %1 (%2 mode, %3).

Check that the cable is plugged in at both ends, that the receiver is switched on and runs the %4 firmware, that the mode above is the receiver&apos;s, and that the port in Options is the one the cable is on.</source>
        <translation>Il ricevitore non risponde su %1 (modo %2, %3).

Controlla che il cavo sia collegato da entrambe le parti, che il ricevitore sia acceso e abbia il firmware %4, che il modo scelto sopra sia quello del ricevitore e che la porta in Opzioni sia quella a cui è collegato il cavo.</translation>
    </message>
    <message>
        <source>The receiver&apos;s loader did not answer on %1 at 19200 baud. Plug the receiver&apos;s mains in while &quot;Connect main plug&quot; blinks, and check the cable and the port in Options.</source>
        <translation>Il loader del ricevitore non ha risposto su %1 a 19200 baud. Collega la corrente al ricevitore mentre lampeggia &quot;Connect main plug&quot;, e controlla il cavo e la porta in Opzioni.</translation>
    </message>
    <message>
        <source>The receiver&apos;s flash now holds %1.</source>
        <translation>La flash del ricevitore ora contiene %1.</translation>
    </message>
    <message>
        <source>Backing up the receiver...</source>
        <translation>Copia di sicurezza del ricevitore...</translation>
    </message>
    <message>
        <source>Checking what the receiver holds...</source>
        <translation>Verifico il contenuto del ricevitore...</translation>
    </message>
    <message>
        <source>channels</source>
        <translation>canali</translation>
    </message>
    <message>
        <source>settings</source>
        <translation>impostazioni</translation>
    </message>
    <message>
        <source>system font</source>
        <translation>font di sistema</translation>
    </message>
    <message>
        <source>teletext font</source>
        <translation>font televideo</translation>
    </message>
    <message>
        <source>Skipped: %1</source>
        <translation>Parti saltate: %1</translation>
    </message>
    <message>
        <source>The backup of %1 cannot be restored.</source>
        <translation>Il backup del %1 non può essere ripristinato.</translation>
    </message>
    <message>
        <source>Restore the backup of %1 to the receiver?</source>
        <translation>Ripristinare nel ricevitore il backup del %1?</translation>
    </message>
    <message>
        <source>The backup of %1 is back in the receiver.</source>
        <translation>Il backup del %1 è di nuovo nel ricevitore.</translation>
    </message>
</context>
<context>
    <name>qel::SerialWindow</name>
    <message>
        <source>Upload to picture</source>
        <translation>Upload dell&apos;immagine</translation>
    </message>
    <message>
        <source>&amp;Firmware upgrade</source>
        <translation>Upgrade &amp;Firmware </translation>
    </message>
    <message>
        <source>Erase firm&amp;ware</source>
        <translation>Cancella firm&amp;ware</translation>
    </message>
    <message>
        <source>Erase &amp;all</source>
        <translation>C&amp;ancella tutto</translation>
    </message>
    <message>
        <source>&amp;Picture Upload</source>
        <translation> Upload &amp;Immagine</translation>
    </message>
    <message>
        <source>&amp;Mode</source>
        <translation>&amp;Modo </translation>
    </message>
    <message>
        <source>Bytes used</source>
        <translation>Bytes usati</translation>
    </message>
    <message>
        <source>Channels in list</source>
        <translation>Canali in lista</translation>
    </message>
    <message>
        <source>Port settings</source>
        <translation>Settaggi seriali</translation>
    </message>
    <message>
        <source>COM Port</source>
        <translation>Porta seriale</translation>
    </message>
    <message>
        <source>&amp;Channels</source>
        <translation>&amp;Canali</translation>
    </message>
    <message>
        <source>Sett&amp;ings</source>
        <translation>&amp;Impostazioni</translation>
    </message>
    <message>
        <source>Syste&amp;m Font</source>
        <translation>Font di siste&amp;ma</translation>
    </message>
    <message>
        <source>Teletext F&amp;ont</source>
        <translation>F&amp;ont televideo</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Connessione</translation>
    </message>
    <message>
        <source>Transfer</source>
        <translation>Trasferimento</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Connection in progress..</source>
        <translation>Connessione in corso..</translation>
    </message>
    <message>
        <source>What the receiver held before the upload is kept in %1</source>
        <translation>Ciò che il ricevitore conteneva prima dell&apos;upload è conservato in %1</translation>
    </message>
    <message>
        <source>Firmware Files (*.bin)</source>
        <translation>Firmware Files (*.bin)</translation>
    </message>
    <message>
        <source>The receiver&apos;s firmware will be replaced with &quot;%1&quot;%2. Do not switch the receiver off until the upgrade has ended. Go on?</source>
        <translation>Il firmware del ricevitore sarà sostituito con &quot;%1&quot;%2. Non spegnere il ricevitore finché l&apos;aggiornamento non è terminato. Continuare?</translation>
    </message>
    <message>
        <source>, and its whole flash erased</source>
        <translation>, e tutta la sua flash sarà cancellata</translation>
    </message>
    <message>
        <source>Images (*.png *.jpg *.jpeg *.bmp *.gif)</source>
        <translation>Immagini (*.png *.jpg *.jpeg *.bmp *.gif)</translation>
    </message>
    <message>
        <source>Bitmaps (*.bmp)</source>
        <translation>Bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tutti i file (*)</translation>
    </message>
    <message>
        <source>Compare with the list before the download</source>
        <translation>Confronta con la lista prima del download</translation>
    </message>
    <message>
        <source>Skipped: nothing was sent or fetched for it</source>
        <translation>Saltato: nulla è stato inviato o ricevuto</translation>
    </message>
    <message>
        <source>&amp;Restore…</source>
        <translation>&amp;Ripristina…</translation>
    </message>
    <message>
        <source>Put a backup kept before an upload back into the receiver</source>
        <translation>Rimetti nel ricevitore un backup conservato prima di un upload</translation>
    </message>
</context>
<context>
    <name>qel::SortDialog</name>
    <message>
        <source>QEL - Sort the list</source>
        <translation>QEL - Ordina la lista</translation>
    </message>
    <message>
        <source>Sort by</source>
        <translation>Ordina per</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Frequency and polarisation</source>
        <translation>Frequenza e polarizzazione</translation>
    </message>
    <message>
        <source>Service id</source>
        <translation>Service id</translation>
    </message>
    <message>
        <source>Satellite</source>
        <translation>Satellite</translation>
    </message>
    <message>
        <source>Ascending</source>
        <translation>Crescente</translation>
    </message>
    <message>
        <source>Descending</source>
        <translation>Decrescente</translation>
    </message>
    <message>
        <source>Keep satellite headers in place</source>
        <translation>Lascia al loro posto le intestazioni satellite</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>Ordina</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>qel::ReorderController</name>
    <message>
        <source>Channel names, one a line (*.txt)</source>
        <translation>Nomi dei canali, uno per riga (*.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tutti i file (*)</translation>
    </message>
    <message>
        <source>Matched by ids: %1
Matched by name: %2
Not matched: %3</source>
        <translation>Abbinati per id: %1
Abbinati per nome: %2
Non abbinati: %3</translation>
    </message>
    <message>
        <source>Satellite headers placed like the reference's: %1 of %2</source>
        <translation>Intestazioni dei satelliti poste come nel riferimento: %1 di %2</translation>
    </message>
</context>
<context>
    <name>qel::ReorderDialog</name>
    <message>
        <source>QEL - Order like another list</source>
        <translation>QEL - Ordina come un'altra lista</translation>
    </message>
    <message>
        <source>Find each channel in the reference by</source>
        <translation>Cerca ogni canale nel riferimento per</translation>
    </message>
    <message>
        <source>Network, transport stream and service ids, then name</source>
        <translation>Id di rete, di transport stream e di servizio, poi nome</translation>
    </message>
    <message>
        <source>Name only</source>
        <translation>Solo nome</translation>
    </message>
    <message>
        <source>Channels not in the reference</source>
        <translation>Canali assenti dal riferimento</translation>
    </message>
    <message>
        <source>Go after the others</source>
        <translation>Vanno dopo gli altri</translation>
    </message>
    <message>
        <source>Keep their places</source>
        <translation>Restano al loro posto</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>Ordina</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
</TS>
