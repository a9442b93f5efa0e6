-- The demo statistics database "TK_ESTADISTICAS": its own settings table, from which the start-up takes the
-- command time-out. Run once, on an empty file.
BEGIN TRANSACTION;

CREATE TABLE TA_CONFIGURACION (
    Clave varchar(100) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Valor varchar(255) COLLATE SQLSERVER,
    ValorAux varchar(255) COLLATE SQLSERVER,
    Grupo varchar(50) COLLATE SQLSERVER,
    PoliticaNegocio bit NOT NULL DEFAULT 0
);

INSERT INTO TA_CONFIGURACION (Clave, Valor, ValorAux, Grupo, PoliticaNegocio) VALUES
    ('TIMEOUT', '120', '', 'BaseDeDatos', 0),
    ('ULTIMADEPURACION', '', '', 'Mantenimiento', 0);

COMMIT;
