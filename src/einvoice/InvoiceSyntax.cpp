#include "InvoiceSyntax.h"

InvoiceSyntax InvoiceSyntax::ubl(const QString& root) {
    const QString lineName = root == QLatin1String("CreditNote") ? QStringLiteral("CreditNoteLine")
                                                                 : QStringLiteral("InvoiceLine");
    const QString quantity = root == QLatin1String("CreditNote") ? QStringLiteral("CreditedQuantity")
                                                                 : QStringLiteral("InvoicedQuantity");
    InvoiceSyntax s{Invoice::Syntax::Ubl, {}, {}, {}, {}, {}, {}, {}, {}};
    s.header = {
        {QStringLiteral("/ID"), InvoiceTerm::Number},
        {QStringLiteral("/IssueDate"), InvoiceTerm::IssueDate},
        {QStringLiteral("/InvoiceTypeCode"), InvoiceTerm::TypeCode},
        {QStringLiteral("/CreditNoteTypeCode"), InvoiceTerm::TypeCode},
        {QStringLiteral("/DocumentCurrencyCode"), InvoiceTerm::Currency},
        {QStringLiteral("/DueDate"), InvoiceTerm::DueDate},
        {QStringLiteral("/PaymentMeans/PaymentDueDate"), InvoiceTerm::DueDate},
        {QStringLiteral("/BuyerReference"), InvoiceTerm::BuyerReference},
        {QStringLiteral("/OrderReference/ID"), InvoiceTerm::OrderReference},
        {QStringLiteral("/Note"), InvoiceTerm::Note},
        {QStringLiteral("/PaymentTerms/Note"), InvoiceTerm::PaymentTerms},
        {QStringLiteral("/PaymentMeans/PayeeFinancialAccount/ID"), InvoiceTerm::Iban},
        {QStringLiteral("/PaymentMeans/PayeeFinancialAccount/Name"), InvoiceTerm::AccountName},
        {QStringLiteral("/PaymentMeans/PayeeFinancialAccount/FinancialInstitutionBranch/ID"),
         InvoiceTerm::Bic},
        {QStringLiteral("/LegalMonetaryTotal/LineExtensionAmount"), InvoiceTerm::LineTotal},
        {QStringLiteral("/LegalMonetaryTotal/AllowanceTotalAmount"), InvoiceTerm::Allowances},
        {QStringLiteral("/LegalMonetaryTotal/ChargeTotalAmount"), InvoiceTerm::Charges},
        {QStringLiteral("/LegalMonetaryTotal/TaxExclusiveAmount"), InvoiceTerm::NetTotal},
        {QStringLiteral("/TaxTotal/TaxAmount"), InvoiceTerm::VatTotal},
        {QStringLiteral("/LegalMonetaryTotal/TaxInclusiveAmount"), InvoiceTerm::GrossTotal},
        {QStringLiteral("/LegalMonetaryTotal/PrepaidAmount"), InvoiceTerm::Prepaid},
        {QStringLiteral("/LegalMonetaryTotal/PayableRoundingAmount"), InvoiceTerm::Rounding},
        {QStringLiteral("/LegalMonetaryTotal/PayableAmount"), InvoiceTerm::AmountDue},
        {QStringLiteral("/TaxTotal/TaxSubtotal/TaxCategory/ID"), InvoiceTerm::VatCategory},
        {QStringLiteral("/TaxTotal/TaxSubtotal/TaxCategory/Percent"), InvoiceTerm::VatRate},
        {QStringLiteral("/TaxTotal/TaxSubtotal/TaxableAmount"), InvoiceTerm::VatBasis},
        {QStringLiteral("/TaxTotal/TaxSubtotal/TaxAmount"), InvoiceTerm::VatAmount},
    };
    s.sellerPath = QStringLiteral("/AccountingSupplierParty/Party");
    s.buyerPath = QStringLiteral("/AccountingCustomerParty/Party");
    s.party = {
        {QStringLiteral("/PartyLegalEntity/RegistrationName"), InvoiceTerm::PartyName},
        {QStringLiteral("/PartyName/Name"), InvoiceTerm::PartyTradingName},
        {QStringLiteral("/PostalAddress/StreetName"), InvoiceTerm::PartyStreet},
        {QStringLiteral("/PostalAddress/AdditionalStreetName"), InvoiceTerm::PartyStreetExtra},
        {QStringLiteral("/PostalAddress/PostalZone"), InvoiceTerm::PartyPostcode},
        {QStringLiteral("/PostalAddress/CityName"), InvoiceTerm::PartyTown},
        {QStringLiteral("/PostalAddress/Country/IdentificationCode"), InvoiceTerm::PartyCountry},
        {QStringLiteral("/PartyTaxScheme/CompanyID"), InvoiceTerm::PartyTaxId},
        {QStringLiteral("/PartyTaxScheme/TaxScheme/ID"), InvoiceTerm::PartyTaxScheme},
        {QStringLiteral("/Contact/Name"), InvoiceTerm::PartyContact},
        {QStringLiteral("/Contact/Telephone"), InvoiceTerm::PartyPhone},
        {QStringLiteral("/Contact/ElectronicMail"), InvoiceTerm::PartyEmail},
    };
    s.vatPath = QStringLiteral("/TaxTotal/TaxSubtotal");
    s.accountPath = QStringLiteral("/PaymentMeans");
    s.linePaths = {u'/' + lineName};
    s.line = {
        {QStringLiteral("/ID"), InvoiceTerm::LineId},
        {QStringLiteral("/Item/Name"), InvoiceTerm::LineName},
        {u'/' + quantity, InvoiceTerm::LineQuantity},
        {QStringLiteral("/Price/PriceAmount"), InvoiceTerm::LinePrice},
        {QStringLiteral("/Item/ClassifiedTaxCategory/Percent"), InvoiceTerm::LineVatRate},
        {QStringLiteral("/LineExtensionAmount"), InvoiceTerm::LineNet},
    };
    return s;
}

InvoiceSyntax InvoiceSyntax::cii() {
    const QString settlement = QStringLiteral("/SupplyChainTradeTransaction/ApplicableHeaderTradeSettlement");
    const QString sums = settlement + QStringLiteral("/SpecifiedTradeSettlementHeaderMonetarySummation");
    const QString means = settlement + QStringLiteral("/SpecifiedTradeSettlementPaymentMeans");
    const QString vat = settlement + QStringLiteral("/ApplicableTradeTax");
    InvoiceSyntax s{Invoice::Syntax::Cii, {}, {}, {}, {}, {}, {}, {}, {}};
    s.header = {
        {QStringLiteral("/ExchangedDocument/ID"), InvoiceTerm::Number},
        {QStringLiteral("/ExchangedDocument/IssueDateTime/DateTimeString"), InvoiceTerm::IssueDate},
        {QStringLiteral("/ExchangedDocument/TypeCode"), InvoiceTerm::TypeCode},
        {settlement + QStringLiteral("/InvoiceCurrencyCode"), InvoiceTerm::Currency},
        {settlement + QStringLiteral("/SpecifiedTradePaymentTerms/DueDateDateTime/DateTimeString"),
         InvoiceTerm::DueDate},
        {QStringLiteral("/SupplyChainTradeTransaction/ApplicableHeaderTradeAgreement/BuyerReference"),
         InvoiceTerm::BuyerReference},
        {QStringLiteral("/SupplyChainTradeTransaction/ApplicableHeaderTradeAgreement/"
                        "BuyerOrderReferencedDocument/IssuerAssignedID"),
         InvoiceTerm::OrderReference},
        {QStringLiteral("/ExchangedDocument/IncludedNote/Content"), InvoiceTerm::Note},
        {settlement + QStringLiteral("/SpecifiedTradePaymentTerms/Description"), InvoiceTerm::PaymentTerms},
        {means + QStringLiteral("/PayeePartyCreditorFinancialAccount/IBANID"), InvoiceTerm::Iban},
        {means + QStringLiteral("/PayeePartyCreditorFinancialAccount/AccountName"), InvoiceTerm::AccountName},
        {means + QStringLiteral("/PayeeSpecifiedCreditorFinancialInstitution/BICID"), InvoiceTerm::Bic},
        {sums + QStringLiteral("/LineTotalAmount"), InvoiceTerm::LineTotal},
        {sums + QStringLiteral("/AllowanceTotalAmount"), InvoiceTerm::Allowances},
        {sums + QStringLiteral("/ChargeTotalAmount"), InvoiceTerm::Charges},
        {sums + QStringLiteral("/TaxBasisTotalAmount"), InvoiceTerm::NetTotal},
        {sums + QStringLiteral("/TaxTotalAmount"), InvoiceTerm::VatTotal},
        {sums + QStringLiteral("/GrandTotalAmount"), InvoiceTerm::GrossTotal},
        {sums + QStringLiteral("/TotalPrepaidAmount"), InvoiceTerm::Prepaid},
        {sums + QStringLiteral("/RoundingAmount"), InvoiceTerm::Rounding},
        {sums + QStringLiteral("/DuePayableAmount"), InvoiceTerm::AmountDue},
        {vat + QStringLiteral("/CategoryCode"), InvoiceTerm::VatCategory},
        {vat + QStringLiteral("/RateApplicablePercent"), InvoiceTerm::VatRate},
        {vat + QStringLiteral("/BasisAmount"), InvoiceTerm::VatBasis},
        {vat + QStringLiteral("/CalculatedAmount"), InvoiceTerm::VatAmount},
    };
    s.sellerPath =
        QStringLiteral("/SupplyChainTradeTransaction/ApplicableHeaderTradeAgreement/SellerTradeParty");
    s.buyerPath =
        QStringLiteral("/SupplyChainTradeTransaction/ApplicableHeaderTradeAgreement/BuyerTradeParty");
    s.party = {
        {QStringLiteral("/Name"), InvoiceTerm::PartyName},
        {QStringLiteral("/SpecifiedLegalOrganization/TradingBusinessName"), InvoiceTerm::PartyTradingName},
        {QStringLiteral("/PostalTradeAddress/LineOne"), InvoiceTerm::PartyStreet},
        {QStringLiteral("/PostalTradeAddress/LineTwo"), InvoiceTerm::PartyStreetExtra},
        {QStringLiteral("/PostalTradeAddress/PostcodeCode"), InvoiceTerm::PartyPostcode},
        {QStringLiteral("/PostalTradeAddress/CityName"), InvoiceTerm::PartyTown},
        {QStringLiteral("/PostalTradeAddress/CountryID"), InvoiceTerm::PartyCountry},
        {QStringLiteral("/SpecifiedTaxRegistration/ID"), InvoiceTerm::PartyTaxId},
        {QStringLiteral("/DefinedTradeContact/PersonName"), InvoiceTerm::PartyContact},
        {QStringLiteral("/DefinedTradeContact/TelephoneUniversalCommunication/CompleteNumber"),
         InvoiceTerm::PartyPhone},
        {QStringLiteral("/DefinedTradeContact/EmailURIUniversalCommunication/URIID"),
         InvoiceTerm::PartyEmail},
    };
    s.vatPath = vat;
    s.accountPath = means;
    s.linePaths = {QStringLiteral("/SupplyChainTradeTransaction/IncludedSupplyChainTradeLineItem")};
    s.line = {
        {QStringLiteral("/AssociatedDocumentLineDocument/LineID"), InvoiceTerm::LineId},
        {QStringLiteral("/SpecifiedTradeProduct/Name"), InvoiceTerm::LineName},
        {QStringLiteral("/SpecifiedLineTradeDelivery/BilledQuantity"), InvoiceTerm::LineQuantity},
        {QStringLiteral("/SpecifiedLineTradeAgreement/NetPriceProductTradePrice/ChargeAmount"),
         InvoiceTerm::LinePrice},
        {QStringLiteral("/SpecifiedLineTradeSettlement/ApplicableTradeTax/RateApplicablePercent"),
         InvoiceTerm::LineVatRate},
        {QStringLiteral("/SpecifiedLineTradeSettlement/SpecifiedTradeSettlementLineMonetarySummation/"
                        "LineTotalAmount"),
         InvoiceTerm::LineNet},
    };
    return s;
}
