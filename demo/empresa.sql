-- The demo company database "DEMO" on the embedded SQLite server: every table the program reads or writes and
-- the views its lookups search, with SQL Server-like column types and the server's text collation
-- (letter case and trailing blanks ignored, as on SQL Server). Run once, on an empty file.
BEGIN TRANSACTION;

-- Settings.
CREATE TABLE TA_CONFIGURACION (
    Clave varchar(100) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Valor varchar(255) COLLATE SQLSERVER,
    ValorAux varchar(255) COLLATE SQLSERVER,
    Grupo varchar(50) COLLATE SQLSERVER,
    PoliticaNegocio bit NOT NULL DEFAULT 0
);

INSERT INTO TA_CONFIGURACION (Clave, Valor, ValorAux, Grupo, PoliticaNegocio) VALUES
    ('TPV_SERVER', 'DEMOSRV', '', 'TPV', 0),
    ('DepuracionAutomatica_Dias', '30', '', 'TPV', 0),
    ('MostrarStockenConsultas', 'SI', '', 'Consultas', 0),
    ('Stk_Nivel1', '32768', '', 'Consultas', 0),
    ('Stk_Nivel2', '16711680', '', 'Consultas', 0),
    ('Stk_Nivel3', '33023', '', 'Consultas', 0),
    ('Stk_Nivel4', '255', '', 'Consultas', 0),
    ('UsaConsultaLike', 'SI', '', 'Consultas', 0),
    ('TopConsArt', '500', '', 'Consultas', 0),
    ('TituloClientes', 'Clientes', '', 'General', 0),
    ('TituloProveedores', 'Proveedores', '', 'General', 0),
    ('CantidadDecimales', '2', '', 'General', 0),
    ('SS_CONFIDENCIALIDAD', 'NO', '', 'Seguridad', 1),
    ('SS_BloqueoActivo', 'NO', '', 'Seguridad', 1),
    ('UsaMultilesMonedas', 'NO', '', 'Ventas', 1),
    ('UsaFacturaProforma', 'SI', '', 'Ventas', 1),
    ('USACCOSTO', 'NO', '', 'Contabilidad', 1),
    ('USA_STK_STOCK_UDKG', 'NO', '', 'Stock', 1),
    ('UNIDADDEMEDIDA_M3', 'M3', '', 'Stock', 0),
    ('UNIDADDEMEDIDA_BL', 'BL', '', 'Stock', 0),
    ('UNIDADDEMEDIDA_KG', 'KG', '', 'Stock', 0),
    ('PERIODO', '2026', '', 'Contabilidad', 0),
    ('VALIDACODIGOBARRA', 'SI', '', 'Ventas', 0),
    ('CFondo', '16777215', '', 'Pantalla', 0),
    ('CLetra', '0', '', 'Pantalla', 0),
    ('ModuloOrdenDeTrabajo', 'NO', '', 'Modulos', 1),
    ('V_ModificaCPrecio', 'NO', '', 'Ventas', 1),
    ('C_ModificaCPrecio', 'NO', '', 'Compras', 1),
    ('MADERERA', 'NO', '', 'Modulos', 1),
    ('MaxDto', '15', '', 'Ventas', 1),
    ('MaxDtoProforma', '10', '', 'Ventas', 1),
    ('PideClave_StockNeg', 'SI', '', 'Ventas', 1),
    ('PideClave_MarkUpBase', 'NO', '', 'Ventas', 1),
    ('PideClave_LimiteCredito', 'SI', '', 'Ventas', 1),
    ('UTILIZARFECHADIA', 'SI', '', 'General', 0),
    ('CONDIVAEMPRESA', '1', '', 'Impuestos', 1),
    ('Top_Default', '1000', '', 'Consultas', 0),
    ('THEME', '1', '', 'Pantalla', 0);

-- Operators, their tasks and the menu entries that launch processes.
CREATE TABLE ta_usuarios (
    Nombre varchar(50) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    NombreCompleto varchar(100) COLLATE SQLSERVER,
    Administrador smallint NOT NULL DEFAULT 0,  -- 1 administrator; read as a number by the connection
    UNegocio varchar(10) COLLATE SQLSERVER,
    VerProforma bit NOT NULL DEFAULT 0
);

INSERT INTO ta_usuarios (Nombre, NombreCompleto, Administrador, UNegocio, VerProforma) VALUES
    ('CAJERO', 'Lucía Ferreyra', 0, '   1', 1),
    ('SUPERVISOR TAMAREK MC', 'Supervisor del sistema', 1, '   1', 1),
    ('TECNICO', 'Ramiro Quintana', 1, '   2', 0);

CREATE TABLE TA_MENU (
    Clave varchar(20) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Proceso varchar(100) COLLATE SQLSERVER,
    Nombre varchar(100) COLLATE SQLSERVER
);

INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES
    ('MP000', 'CN000PR', 'Menu Principal'),
    ('PV010', 'PAVENKO', 'Consola de impresora fiscal'),
    ('PV020', 'PAVENKO /CIERRES', 'Cierres X y Z'),
    ('MT010', 'TRESVANE', 'Depuracion de la base de datos'),
    ('VT010', 'TKVENTAS', 'Facturacion'),
    ('ST010', 'TKSTOCK', 'Movimientos de stock');

CREATE TABLE TA_TAREAS (
    USUARIO varchar(50) COLLATE SQLSERVER NOT NULL,
    TAREA varchar(20) COLLATE SQLSERVER NOT NULL,
    PRIMARY KEY (USUARIO, TAREA)
);

INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES
    ('CAJERO', 'MP000'), ('CAJERO', 'PV010'), ('CAJERO', 'VT010'),
    ('TECNICO', 'MP000'), ('TECNICO', 'PV010'), ('TECNICO', 'PV020'), ('TECNICO', 'MT010'), ('TECNICO', 'ST010');

-- The access log and the error table.
CREATE TABLE Control_Acceso (
    Id integer PRIMARY KEY AUTOINCREMENT,
    Maquina varchar(50) COLLATE SQLSERVER,
    Usuario varchar(50) COLLATE SQLSERVER,
    Formulario varchar(50) COLLATE SQLSERVER,
    Tarea varchar(100) COLLATE SQLSERVER,
    Ingreso varchar(20) COLLATE SQLSERVER,
    NombreUsuario varchar(50) COLLATE SQLSERVER
);

CREATE TABLE AUX_ERR (
    Id integer PRIMARY KEY AUTOINCREMENT,
    Proceso varchar(100) COLLATE SQLSERVER,
    Fecha varchar(20) COLLATE SQLSERVER,
    Error int,
    Descripcion varchar(250) COLLATE SQLSERVER,
    SQL text COLLATE SQLSERVER,
    PC varchar(50) COLLATE SQLSERVER,
    Usuario varchar(50) COLLATE SQLSERVER
);

-- Master tables behind the lookups.
CREATE TABLE TA_FAMILIAS (
    IdFamilia varchar(10) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Descripcion varchar(60) COLLATE SQLSERVER
);

INSERT INTO TA_FAMILIAS (IdFamilia, Descripcion) VALUES
    ('01', 'ALMACEN'), ('0101', 'Infusiones'), ('0102', 'Harinas y pastas'), ('0103', 'Conservas'),
    ('02', 'BEBIDAS'), ('0201', 'Gaseosas'), ('0202', 'Aguas'), ('0203', 'Vinos'),
    ('03', 'LIMPIEZA'), ('0301', 'Detergentes'), ('0302', 'Papel'),
    ('04', 'FERRETERIA'), ('0401', 'Tornilleria'), ('0402', 'Herramientas manuales'), ('040201', 'Destornilladores');

CREATE TABLE MA_ARTICULOS (
    IdArticulo varchar(25) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Descripcion varchar(100) COLLATE SQLSERVER,
    IdFamilia varchar(10) COLLATE SQLSERVER REFERENCES TA_FAMILIAS (IdFamilia),
    Unidad varchar(5) COLLATE SQLSERVER,
    CodigoBarra varchar(20) COLLATE SQLSERVER,
    Precio money NOT NULL DEFAULT 0,
    AlicuotaIva decimal(5, 2) NOT NULL DEFAULT 21,
    PuntoPedido decimal(12, 2) NOT NULL DEFAULT 0,
    Stock decimal(12, 2) NOT NULL DEFAULT 0,
    Suspendido bit NOT NULL DEFAULT 0,
    FechaAlta datetime
);

-- Four hundred articles: fifty in each of eight families, named product, brand and size.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400),
hojas(orden, id, nombre, unidad, base, medida) AS (VALUES
    (0, '0101', 'Yerba mate', 'UN', 950, 'p'), (1, '0102', 'Fideos', 'UN', 620, 'p'),
    (2, '0103', 'Conserva', 'UN', 780, 'p'), (3, '0201', 'Gaseosa', 'UN', 1100, 'v'),
    (4, '0202', 'Agua mineral', 'UN', 540, 'v'), (5, '0203', 'Vino', 'UN', 2300, 'v'),
    (6, '0301', 'Detergente', 'UN', 870, 'v'), (7, '0401', 'Tornillo', 'CJ', 1450, 'c')),
medidas(tipo, k, texto) AS (VALUES
    ('p', 0, '250 g'), ('p', 1, '500 g'), ('p', 2, '1 kg'), ('p', 3, '2 kg'), ('p', 4, '5 kg'),
    ('v', 0, '500 ml'), ('v', 1, '750 ml'), ('v', 2, '1 l'), ('v', 3, '1,5 l'), ('v', 4, '2,25 l'),
    ('c', 0, 'x 10'), ('c', 1, 'x 25'), ('c', 2, 'x 50'), ('c', 3, 'x 100'), ('c', 4, 'x 500')),
variante(k, texto) AS (VALUES
    (0, 'Don Celso'), (1, 'La Tranquera'), (2, 'Sol del Valle'), (3, 'El Ombu'), (4, 'Tres Arroyos'),
    (5, 'Santa Ines'), (6, 'Rio Bermejo'), (7, 'Los Alamos'), (8, 'Punta Mogotes'), (9, 'Cerro Azul'))
INSERT INTO MA_ARTICULOS (IdArticulo, Descripcion, IdFamilia, Unidad, CodigoBarra, Precio, AlicuotaIva, PuntoPedido,
                          Stock, Suspendido, FechaAlta)
SELECT printf('A%05d', n.i),
       hojas.nombre || ' ' || variante.texto || ' ' || medidas.texto,
       hojas.id, hojas.unidad, printf('779%010d', n.i * 7919),
       round(hojas.base * (1 + ((n.i * 37) % 60) / 100.0), 2),
       CASE WHEN hojas.id LIKE '01%' THEN 10.5 ELSE 21 END,
       (n.i % 4) * 10, (n.i * 13) % 90, CASE WHEN n.i % 97 = 0 THEN 1 ELSE 0 END,
       printf('2025-%02d-%02d 00:00:00', 1 + n.i % 12, 1 + n.i % 28)
FROM n JOIN hojas ON hojas.orden = n.i % 8 JOIN variante ON variante.k = (n.i / 8) % 10
     JOIN medidas ON medidas.tipo = hojas.medida AND medidas.k = (n.i / 80) % 5;

CREATE TABLE MA_CLIENTES (
    Codigo varchar(10) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Razon_Social varchar(100) COLLATE SQLSERVER,
    Contacto varchar(60) COLLATE SQLSERVER,
    Cuit varchar(13) COLLATE SQLSERVER,
    CondicionIva int NOT NULL DEFAULT 5,
    Domicilio varchar(100) COLLATE SQLSERVER,
    Localidad varchar(60) COLLATE SQLSERVER,
    Telefono varchar(30) COLLATE SQLSERVER,
    LimiteCredito money NOT NULL DEFAULT 0,
    Dada_De_Baja bit NOT NULL DEFAULT 0
);

INSERT INTO MA_CLIENTES (Codigo, Razon_Social, Contacto, Cuit, CondicionIva, Domicilio, Localidad, Telefono,
                         LimiteCredito) VALUES
    ('C0001', 'CONSUMIDOR FINAL', '', '', 5, '', '', '', 0),
    ('C0002', 'Almacen La Esquina SRL', 'Marta Giménez', '30712345678', 1, 'San Martin 1450', 'Rosario',
     '0341-4456789', 250000),
    ('C0003', 'Ferreteria Del Puerto SA', 'Hugo Barrios', '30698765432', 1, 'Av. Belgrano 220', 'Paraná',
     '0343-4221100', 500000),
    ('C0004', 'Oscar O''Neill', 'Oscar O''Neill', '20234567891', 6, 'Mitre 88', 'Santa Fe', '0342-155667788', 0),
    ('C0005', 'Kiosco El Rayo', 'Paula Díaz', '27301112223', 6, 'Urquiza 3010', 'Rosario', '0341-155009988', 30000);
UPDATE MA_CLIENTES SET Dada_De_Baja = 1 WHERE Codigo = 'C0005';

CREATE TABLE MA_PROVEEDORES (
    Codigo varchar(10) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Razon_Social varchar(100) COLLATE SQLSERVER,
    Cuit varchar(13) COLLATE SQLSERVER,
    Domicilio varchar(100) COLLATE SQLSERVER,
    Localidad varchar(60) COLLATE SQLSERVER,
    Telefono varchar(30) COLLATE SQLSERVER,
    Dada_De_Baja bit NOT NULL DEFAULT 0
);

INSERT INTO MA_PROVEEDORES (Codigo, Razon_Social, Cuit, Domicilio, Localidad, Telefono) VALUES
    ('P001', 'Distribuidora Litoral SA', '30700011122', 'Ruta 11 km 4', 'Santo Tomé', '0342-4740000'),
    ('P002', 'Bodegas Cerro Azul SA', '30655544433', 'Carril Godoy Cruz 900', 'Maipú', '0261-4970000'),
    ('P003', 'Bulonera Central SRL', '30711122233', 'Av. Francia 1200', 'Rosario', '0341-4300300');

CREATE TABLE MA_CONTACTOS (
    IdContacto int NOT NULL PRIMARY KEY,
    Nombre_y_Apellido varchar(100) COLLATE SQLSERVER,
    Domicilio varchar(100) COLLATE SQLSERVER,
    Localidad varchar(60) COLLATE SQLSERVER,
    Telefono varchar(30) COLLATE SQLSERVER
);

INSERT INTO MA_CONTACTOS (IdContacto, Nombre_y_Apellido, Domicilio, Localidad, Telefono) VALUES
    (1, 'Marta Giménez', 'San Martin 1450', 'Rosario', '0341-4456789'),
    (2, 'Hugo Barrios', 'Av. Belgrano 220', 'Paraná', '0343-4221100'),
    (3, 'Paula Díaz', 'Urquiza 3010', 'Rosario', '0341-155009988');

CREATE TABLE TA_VENDEDORES (
    IdVendedor varchar(5) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Nombre varchar(60) COLLATE SQLSERVER,
    Comision decimal(5, 2) NOT NULL DEFAULT 0
);
INSERT INTO TA_VENDEDORES (IdVendedor, Nombre, Comision) VALUES
    ('V01', 'Julián Acosta', 3), ('V02', 'Carla Benítez', 3.5), ('V03', 'Mostrador', 0);

CREATE TABLE TA_TECNICOS (
    IdTecnico varchar(5) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Nombre varchar(60) COLLATE SQLSERVER
);
INSERT INTO TA_TECNICOS (IdTecnico, Nombre) VALUES ('T01', 'Ramiro Quintana'), ('T02', 'Sergio Ledesma');

CREATE TABLE MA_MANTENIMIENTOS (
    Codigo varchar(10) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Descripcion varchar(100) COLLATE SQLSERVER,
    FrecuenciaDias int NOT NULL DEFAULT 30
);
INSERT INTO MA_MANTENIMIENTOS (Codigo, Descripcion, FrecuenciaDias) VALUES
    ('M01', 'Limpieza del cabezal de impresion', 30), ('M02', 'Cambio de cinta', 90),
    ('M03', 'Depuracion de movimientos', 30);

CREATE TABLE MA_CUENTAS (
    Codigo varchar(20) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Descripcion varchar(100) COLLATE SQLSERVER,
    Imputable bit NOT NULL DEFAULT 0
);
INSERT INTO MA_CUENTAS (Codigo, Descripcion, Imputable) VALUES
    ('1', 'ACTIVO', 0), ('11', 'Disponibilidades', 0), ('1101', 'Caja', 1), ('1102', 'Banco cuenta corriente', 1),
    ('2', 'PASIVO', 0), ('21', 'Proveedores', 1),
    ('4', 'INGRESOS', 0), ('41', 'Ventas', 1), ('5', 'EGRESOS', 0), ('51', 'Compras', 1);

CREATE TABLE TA_CCOSTO (
    Codigo varchar(20) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Descripcion varchar(100) COLLATE SQLSERVER
);
INSERT INTO TA_CCOSTO (Codigo, Descripcion) VALUES ('01', 'Salon de ventas'), ('0101', 'Caja 1'), ('02', 'Deposito');

CREATE TABLE MA_POSICIONES (
    IdPosicion varchar(20) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Descripcion varchar(100) COLLATE SQLSERVER
);
INSERT INTO MA_POSICIONES (IdPosicion, Descripcion) VALUES
    ('01', 'Nave principal'), ('0101', 'Estanteria A'), ('010101', 'Estante A1'), ('02', 'Patio');

CREATE TABLE TA_UNIDADNEGOCIO (
    Codigo varchar(10) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Descripcion varchar(60) COLLATE SQLSERVER
);
INSERT INTO TA_UNIDADNEGOCIO (Codigo, Descripcion) VALUES ('   1', 'Casa central'), ('   2', 'Sucursal Norte');

CREATE TABLE TA_DEPOSITO (
    IdDeposito varchar(5) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Descripcion varchar(60) COLLATE SQLSERVER,
    UNegocio varchar(10) COLLATE SQLSERVER
);
INSERT INTO TA_DEPOSITO (IdDeposito, Descripcion, UNegocio) VALUES
    ('D01', 'Deposito central', '   1'), ('D02', 'Salon', '   1'), ('D03', 'Deposito norte', '   2');

CREATE TABLE TA_CAJAS (
    IdCaja int NOT NULL PRIMARY KEY,
    Descripcion varchar(60) COLLATE SQLSERVER,
    UNegocio varchar(10) COLLATE SQLSERVER
);
INSERT INTO TA_CAJAS (IdCaja, Descripcion, UNegocio) VALUES (1, 'Caja 1', '   1'), (2, 'Caja 2', '   1');

-- Stock shortages reported from the list lookup.
CREATE TABLE V_MV_FALTANTES (
    Id integer PRIMARY KEY AUTOINCREMENT,
    FechaHora varchar(30) COLLATE SQLSERVER,
    IdArticulo varchar(25) COLLATE SQLSERVER,
    Descripcion varchar(100) COLLATE SQLSERVER,
    Usuario varchar(50) COLLATE SQLSERVER
);

-- The views the lookups search.
CREATE VIEW V_MA_ARTICULOS AS
    SELECT IdArticulo AS IDARTICULO, Descripcion AS DESCRIPCION, IdFamilia AS IDFAMILIA, Unidad AS UNIDAD,
           CodigoBarra AS CODIGOBARRA, Precio AS PRECIO, AlicuotaIva AS ALICUOTAIVA, PuntoPedido AS PUNTOPEDIDO,
           Stock AS Stock, Suspendido AS SUSPENDIDO
    FROM MA_ARTICULOS;
-- What the article lookups search: the articles with their stock position.
CREATE VIEW VT_MA_ARTICULOS AS
    SELECT IdArticulo AS IDARTICULO, Descripcion AS DESCRIPCION, IdFamilia AS IDFAMILIA, Unidad AS UNIDAD,
           Precio AS PRECIO, PuntoPedido AS PUNTOPEDIDO, Stock AS Stock, Suspendido AS SUSPENDIDO
    FROM MA_ARTICULOS;
CREATE VIEW VT_CLIENTES AS
    SELECT Codigo AS CODIGO, Razon_Social AS RAZON_SOCIAL, Contacto AS CONTACTO, Cuit AS CUIT,
           Domicilio AS DOMICILIO, Localidad AS LOCALIDAD, Telefono AS TELEFONO, Dada_De_Baja AS DADA_DE_BAJA
    FROM MA_CLIENTES;
CREATE VIEW VT_PROVEEDORES AS
    SELECT Codigo AS CODIGO, Razon_Social AS RAZON_SOCIAL, Cuit AS CUIT, Localidad AS LOCALIDAD,
           Telefono AS TELEFONO, Dada_De_Baja AS DADA_DE_BAJA
    FROM MA_PROVEEDORES;
CREATE VIEW V_TA_VENDEDORES AS SELECT IdVendedor AS IDVENDEDOR, Nombre AS NOMBRE FROM TA_VENDEDORES;
CREATE VIEW V_TA_TECNICOS AS SELECT IdTecnico AS IDTECNICO, Nombre AS NOMBRE FROM TA_TECNICOS;
CREATE VIEW V_MA_MANTENIMIENTOS AS SELECT Codigo AS CODIGO, Descripcion AS DESCRIPCION FROM MA_MANTENIMIENTOS;
CREATE VIEW V_TA_Tareas AS SELECT Clave AS IdTarea, Nombre AS Descripcion, Proceso FROM TA_MENU;
CREATE VIEW V_TA_UnidadNegocio AS SELECT Codigo, Descripcion FROM TA_UNIDADNEGOCIO;
CREATE VIEW V_TA_DEPOSITO AS SELECT IdDeposito, Descripcion, UNegocio AS UnidadNegocio FROM TA_DEPOSITO;
CREATE VIEW V_TA_FAMILIAS AS SELECT IdFamilia, Descripcion FROM TA_FAMILIAS;
CREATE VIEW V_TA_CAJAS AS SELECT IdCaja, Descripcion, UNegocio FROM TA_CAJAS;

-- What an operator who is not an administrator sees in place of the confidential objects.
CREATE VIEW SS_MA_CUENTAS AS SELECT Codigo, Descripcion, Imputable FROM MA_CUENTAS WHERE Codigo NOT LIKE '5%';
CREATE VIEW SS_V_TA_DEPOSITO AS
    SELECT IdDeposito, Descripcion, UNegocio AS UnidadNegocio FROM TA_DEPOSITO WHERE UNegocio = '   1';
CREATE VIEW SS_V_TA_FAMILIAS AS SELECT IdFamilia, Descripcion FROM TA_FAMILIAS;
CREATE VIEW SS_V_TA_CAJAS AS SELECT IdCaja, Descripcion, UNegocio FROM TA_CAJAS WHERE UNegocio = '   1';

COMMIT;
